# make run   - installs what is missing, builds the program (only), prepares the working folder run/ and starts it
# make test  - installs what is missing, builds and runs every test through ctest
# make bench - builds and prints the performance figures
BUILD ?= build
JOBS ?= $(shell nproc)
RUN_DIR ?= run

.PHONY: all deps configure build run test bench clean format

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: configure
	@cmake --build $(BUILD) --target corvane -j$(JOBS)
	@mkdir -p $(RUN_DIR)
	@echo "Working folder: $(abspath $(RUN_DIR))"
	@cd $(RUN_DIR) && $(abspath $(BUILD))/corvane

test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

bench: build
	@cmake --build $(BUILD) --target benches -j$(JOBS) >/dev/null
	@bash $(BUILD)/run-benches.sh

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf $(BUILD)
