# Commands for a fresh Debian 12 machine:
#   make run   installs what is missing, builds the two programs (not the tests), and opens the
#              desktop program with the sample pictures (without a display: runs the main batch on
#              them with brindle-cli)
#   make test  installs what is missing, builds everything, and runs every test
#   make bench builds, makes the benchmark pictures once, and times brindle-cli batch against mogrify
#              and vipsthumbnail, then compares the quality of their pictures (BENCH_CORPUS=DIR: a
#              folder of one's own JPEGs instead); one more line times the batch writing WebP
#              against vipsthumbnail (or cwebp) writing WebP
#   make bench-photos builds, downloads real photographs once (KDE's and MATE's photographic
#              wallpapers) and runs the same benchmark on them
#   make bench-png builds, makes the PNG benchmark pictures once, and times brindle-cli png (PNG-8)
#              against pngquant
#   make bench-join builds, makes the benchmark pictures once, and times brindle-cli join against
#              convert -append (50 photographs: the corpus twice)
#   make package builds the optimised program and makes a Debian package of it (build-release/);
#              make test-package also unpacks it, runs its brindle-cli on a picture, checks what
#              dpkg -c lists, validates its AppStream metainfo and fails on lintian's errors
#   make bench-slice builds, makes the slice benchmark picture once, and times brindle-cli slice against
#              convert -crop
#   make bench-preview makes a 24-megapixel photograph once and times the effect preview against
#              convert doing the same work
#   make bench-thumbs times the picture list's thumbnails against vipsthumbnail on the real
#              photographs and the corpus, and the list's first screen, memory and select-all
#   make screenshots draws the desktop program's windows under xvfb-run into build/screenshots/
SHELL := /bin/bash
MAKEFLAGS += --no-print-directory
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CLI := $(BUILD_DIR)/src/brindle-cli
SAMPLES := $(BUILD_DIR)/samples
RESULTS := $(BUILD_DIR)/run-output
BENCH_CORPUS ?= bench/corpus
BENCH_PHOTOS ?= bench/photos
BENCH_RUNS ?= 3
BENCH_PNG_CORPUS ?= bench/png-corpus
BENCH_SLICE_CORPUS ?= bench/slice-corpus
BENCH_PREVIEW_CORPUS ?= bench/preview-corpus
BENCH_ARGS ?=

.PHONY: deps configure programs build run test samples bench bench-photos bench-png bench-join bench-slice bench-preview bench-thumbs clean fuzz test-asan test-tsan \
	release package test-package screenshots

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DBRINDLE_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

# The desktop program and brindle-cli only: what `make run` runs.
programs: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target brindle brindle-cli

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

samples: programs
	@bash scripts/make-samples.sh $(SAMPLES)

# With a display the desktop program opens with the sample pictures; without one brindle-cli runs
# the batch on them.
run: samples
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "Starting the desktop program with the sample pictures: $(BUILD_DIR)/src/brindle $(SAMPLES)"; \
	  $(BUILD_DIR)/src/brindle $(SAMPLES); \
	else \
	  bash scripts/run-samples.sh $(CLI) $(SAMPLES) $(RESULTS); \
	  echo; echo "No display: the desktop program starts with $(BUILD_DIR)/src/brindle [PICTURES...] on a desktop."; \
	fi

# The desktop program's windows drawn under xvfb-run, written to build/screenshots/ to look at.
screenshots: build samples
	@rm -rf $(BUILD_DIR)/screenshots
	@xvfb-run -a -s "-screen 0 1600x1000x24" $(BUILD_DIR)/tests/brindle_screenshots \
	  $(SAMPLES) $(BUILD_DIR)/screenshots

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The corpus is made in BENCH_CORPUS unless that folder holds JPEGs of its own (JPEGs and no corpus
# manifest): those are timed as they are, and nothing is written into the folder.
define make-corpus
	@if [ -f "$(1)/.corpus-manifest" ] || [ -z "$$(find "$(1)" -maxdepth 1 -type f \( -iname '*.jpg' -o -iname '*.jpeg' \) -print -quit 2>/dev/null)" ]; then \
	  bash bench/make-corpus.sh "$(1)"; \
	else \
	  echo "$(1) holds JPEGs of its own: they are used as they are."; \
	fi
endef

bench: build
	$(call make-corpus,$(BENCH_CORPUS))
	@python3 bench/run-batch-bench.py --cli $(CLI) --corpus $(BENCH_CORPUS) --runs $(BENCH_RUNS) $(BENCH_ARGS)
	@python3 bench/run-webp-bench.py --cli $(CLI) --corpus $(BENCH_CORPUS) --runs $(BENCH_RUNS)

bench-photos: build
	@bash bench/get-photos.sh $(BENCH_PHOTOS)
	@python3 bench/run-batch-bench.py --cli $(CLI) --corpus $(BENCH_PHOTOS) --runs $(BENCH_RUNS) $(BENCH_ARGS)

bench-png: build
	@bash bench/make-png-corpus.sh $(BENCH_PNG_CORPUS)
	@python3 bench/run-png-bench.py --cli $(CLI) --corpus $(BENCH_PNG_CORPUS) --runs $(BENCH_RUNS)

bench-join: build
	$(call make-corpus,$(BENCH_CORPUS))
	@python3 bench/run-join-bench.py --cli $(CLI) --corpus $(BENCH_CORPUS) --runs $(BENCH_RUNS)

bench-slice: build
	@bash bench/make-slice-picture.sh $(BENCH_SLICE_CORPUS)
	@python3 bench/run-slice-bench.py --cli $(CLI) --corpus $(BENCH_SLICE_CORPUS) --runs $(BENCH_RUNS)

bench-preview: build
	@bash bench/make-slice-picture.sh $(BENCH_PREVIEW_CORPUS) 6000 4000
	@python3 bench/run-preview-bench.py --cli $(CLI) --corpus $(BENCH_PREVIEW_CORPUS) --runs $(BENCH_RUNS)

bench-thumbs: build
	@bash bench/get-photos.sh $(BENCH_PHOTOS)
	$(call make-corpus,$(BENCH_CORPUS))
	@python3 bench/run-thumbs-bench.py --photos $(BENCH_PHOTOS) --corpus $(BENCH_CORPUS) --runs $(BENCH_RUNS)

# The optimised build users and packagers make: warnings are shown, not errors (CI makes them
# errors with RELEASE_WERROR=ON).
RELEASE_WERROR ?= OFF
release: deps
	@cmake -S . -B build-release -DBRINDLE_WERROR=$(RELEASE_WERROR) -DCMAKE_BUILD_TYPE=Release \
	  -DBRINDLE_BUILD_TESTS=OFF >/dev/null
	@cmake --build build-release -j $(JOBS)

# A Debian package of the optimised build, in build-release/.
package: release
	@cd build-release && rm -f *.deb && cpack -G DEB >/dev/null && ls -1 "$$PWD"/*.deb

# The package unpacked into a temporary root: its brindle-cli must process a picture.
test-package: package
	@cmake -DDEB="$$(ls build-release/*.deb)" -DWORK_DIR="$$PWD/build-release/package-test" \
	  -P tests/install/install_test.cmake
	@echo "package test passed"

clean:
	rm -rf $(BUILD_DIR) build-release

# Fuzzing (libFuzzer, clang): each target runs FUZZ_RUNS inputs from its seeds; more by hand with
# FUZZ_RUNS=1000000.
FUZZ_RUNS ?= 20000
FUZZ_TARGETS := classify picture_header gif_walk recipe
fuzz: deps
	@cmake -S . -B build-fuzz -DBRINDLE_WERROR=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DBRINDLE_FUZZ=ON -DBRINDLE_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build-fuzz -j $(JOBS) $(addprefix --target fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	  work=$$(mktemp -d); cp tests/fuzz/seeds/$$t/* $$work/; \
	  echo "fuzz_$$t: $(FUZZ_RUNS) runs"; \
	  build-fuzz/tests/fuzz/fuzz_$$t -runs=$(FUZZ_RUNS) -max_len=65536 -print_final_stats=1 $$work 2>&1 \
	    | grep -E "stat::number_of_executed_units|ERROR|SUMMARY" ; status=$${PIPESTATUS[0]}; \
	  rm -rf $$work; [ $$status -eq 0 ] || exit $$status; \
	done

# Every test under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B build-asan -DBRINDLE_WERROR=ON -DBRINDLE_SANITIZE=address,undefined -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && ASAN_OPTIONS=detect_leaks=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# The two-worker batch runner, the run worker and the information log under ThreadSanitizer.
test-tsan: deps
	@cmake -S . -B build-tsan -DBRINDLE_WERROR=ON -DBRINDLE_SANITIZE=thread -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build build-tsan -j $(JOBS) --target brindle_run_tests brindle_base_tests
	@export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1 \
	  TSAN_OPTIONS="halt_on_error=1 suppressions=$(CURDIR)/tests/sanitizers/tsan.supp"; \
	  build-tsan/tests/brindle_run_tests --gtest_filter='BatchRun*:TargetReservation*:ToolRun*' && \
	  build-tsan/tests/brindle_base_tests --gtest_filter='InfoLog*'
