# Commands for a fresh Debian 12 machine:
#   make run   installs what is missing, builds, and runs the main batch on the sample pictures
#   make test  installs what is missing, builds, and runs every test
#   make bench builds, makes the benchmark pictures once, and times brindle-cli batch against mogrify
#   make bench-png builds, makes the PNG benchmark pictures once, and times brindle-cli png (PNG-8)
#              against pngquant
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CLI := $(BUILD_DIR)/src/brindle-cli
SAMPLES := $(BUILD_DIR)/samples
RESULTS := $(BUILD_DIR)/run-output
BENCH_CORPUS ?= bench/corpus
BENCH_RUNS ?= 3
BENCH_PNG_CORPUS ?= bench/png-corpus

.PHONY: deps build run test samples bench bench-png clean

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

samples: build
	@bash scripts/make-samples.sh $(SAMPLES)

run: samples
	@bash scripts/run-samples.sh $(CLI) $(SAMPLES) $(RESULTS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@bash bench/make-corpus.sh $(BENCH_CORPUS)
	@python3 bench/run-batch-bench.py --cli $(CLI) --corpus $(BENCH_CORPUS) --runs $(BENCH_RUNS)

bench-png: build
	@bash bench/make-png-corpus.sh $(BENCH_PNG_CORPUS)
	@python3 bench/run-png-bench.py --cli $(CLI) --corpus $(BENCH_PNG_CORPUS) --runs $(BENCH_RUNS)

clean:
	rm -rf $(BUILD_DIR)
