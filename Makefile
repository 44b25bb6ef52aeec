# Two commands on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, and runs the main batch on the sample pictures
#   make test  installs what is missing, builds, and runs every test
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CLI := $(BUILD_DIR)/src/brindle-cli
SAMPLES := $(BUILD_DIR)/samples
RESULTS := $(BUILD_DIR)/run-output

.PHONY: deps build run test samples clean

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

clean:
	rm -rf $(BUILD_DIR)
