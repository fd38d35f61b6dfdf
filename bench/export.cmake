# corvane_bench(name SOURCES ... [QT])
corvane_bench(bench_export SOURCES ExportBench.cpp)
