# corvane_bench(name SOURCES ... [QT])
corvane_bench(list_bench SOURCES ListBench.cpp QT)
