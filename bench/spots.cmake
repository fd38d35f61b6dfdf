# corvane_bench(name SOURCES ... [QT])
corvane_bench(bench_spot_parse SOURCES SpotParseBench.cpp)
