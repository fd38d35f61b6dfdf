corvane_bench(bench_scp SOURCES ScpBench.cpp)
