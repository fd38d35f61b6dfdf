# corvane_bench(name SOURCES ... [QT])
corvane_bench(bench_cw_keying SOURCES CwKeyingBench.cpp)
