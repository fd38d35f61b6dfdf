# corvane_bench(name SOURCES ... [QT])
corvane_bench(list_bench SOURCES ListBench.cpp QT)
corvane_bench(bench_log SOURCES LogBench.cpp)
