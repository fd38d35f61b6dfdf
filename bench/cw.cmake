# corvane_bench(name SOURCES ... [QT])
corvane_bench(bench_cw_keying SOURCES CwKeyingBench.cpp)
corvane_bench(bench_winkey SOURCES WinKeyerBench.cpp QT)
