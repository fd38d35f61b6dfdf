# corvane_bench(name SOURCES ... [QT])
corvane_bench(bench_rig_decode SOURCES RigDecodeBench.cpp)
