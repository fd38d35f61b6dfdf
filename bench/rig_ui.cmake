# corvane_bench(name SOURCES ... [QT])
corvane_bench(bench_rig_ui SOURCES RigUiBench.cpp QT)
