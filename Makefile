# Tallowmere: `make run` to play, `make test` to check everything.
BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
JOBS       ?= $(shell nproc)
ROOM       ?= 1
# Warnings are errors in CI.
WERROR     := $(if $(CI),ON,OFF)

CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTM_WERROR=$(WERROR)
ASAN_FLAGS  := -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTM_WERROR=$(WERROR) -DTM_SANITIZE=ON -DTM_CORE_ONLY=OFF
# ThreadSanitizer: only the mixer and audio output tests (a tree of its own, built in moments).
TSAN_FLAGS  := -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTM_WERROR=$(WERROR) -DTM_TSAN=ON

.PHONY: deps test-deps build asan tsan test run bench shot clean

# Plain `make` says what there is to make.
.DEFAULT_GOAL := help
.PHONY: help
help:
	@echo 'make run                      build (the first time takes a few minutes) and play'
	@echo 'make test                     build, then run every test'
	@echo 'make bench                    build, then the benchmarks and the CPU, memory and sound checks'
	@echo 'make shot ROOM=N [FLAGS=a,b]  render room N to shots/roomN.png'
	@echo 'make build | clean            build only, or remove the build trees'
	@echo 'The game needs a desktop session (or xvfb-run); the first build installs what is missing'
	@echo '(make test and make bench add the test tools).'

# Each step runs its own jobs (ninja -j JOBS), so make's own -j would only start the steps at
# once: the package install beside the builds, and three trees compiling together.
.NOTPARALLEL:

# One install step per make run, taking the test tools too when a goal needs them: two apt
# runs at once would stop on each other's lock. Playing needs no test tools and no sound server
# of its own; see scripts/install-deps.
DEPS_SET := $(if $(filter test test-deps asan tsan bench,$(MAKECMDGOALS)),test,play)
deps:
	@scripts/install-deps $(DEPS_SET)

test-deps: deps

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

asan: deps
	@cmake -S . -B $(ASAN_BUILD) $(ASAN_FLAGS) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)

tsan: deps
	@cmake -S . -B $(TSAN_BUILD) $(TSAN_FLAGS) >/dev/null
	@cmake --build $(TSAN_BUILD) -j $(JOBS)

test: deps build asan tsan
	ctest --test-dir $(ASAN_BUILD) -j $(JOBS) --output-on-failure --no-tests=error
	ctest --test-dir $(TSAN_BUILD) -j $(JOBS) --output-on-failure --no-tests=error
	ctest --test-dir $(BUILD) -j $(JOBS) --output-on-failure --no-tests=error

run: build
	$(BUILD)/tallowmere

bench: deps build
	$(BUILD)/Benchmarks/tallowmere_bench
	scripts/cpu-check $(BUILD)/tallowmere
	CPU_CHECK_SCALE=1.25 scripts/cpu-check $(BUILD)/tallowmere
	CPU_CHECK_SCALE=2 scripts/cpu-check $(BUILD)/tallowmere
	scripts/memory-check $(BUILD)/tallowmere
	MEMORY_CHECK_SCALE=1.5 scripts/memory-check $(BUILD)/tallowmere
	-scripts/sound-check $(BUILD)/tallowmere

shot: build
	@mkdir -p shots
	$(BUILD)/tallowmere --shot $(ROOM) shots/room$(ROOM).png "$(FLAGS)"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD)
