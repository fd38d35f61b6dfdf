# corvane_bench(name SOURCES ... [QT])
corvane_bench(bench_voice SOURCES VoiceBench.cpp QT)
