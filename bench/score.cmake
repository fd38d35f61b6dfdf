# corvane_bench(name SOURCES ... [QT])
corvane_bench(score_dupes_bench SOURCES ScoreDupesBench.cpp)
corvane_bench(score_list_bench SOURCES ScoreListBench.cpp)
