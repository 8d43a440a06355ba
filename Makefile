# The commands of the README. `make play` and `make test` install what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
# The long random-key soak: sessions of keys each (1,000,000 keys in all).
SOAK_SESSIONS ?= 500
SOAK_KEYS     ?= 2000
SOAK_JOBS     ?= 2

.PHONY: deps build play test test-fast bench soak clean format install uninstall

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

play: build
	./scripts/play.sh $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKESTRUN_SANITIZE=ON -DKESTRUN_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

test-fast: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	./scripts/bench.sh $(BUILD)

PREFIX     ?= /usr/local
# The long random-key soak: sessions of keys each (1,000,000 keys in all).
SOAK_SESSIONS ?= 500
SOAK_KEYS     ?= 2000
SOAK_JOBS     ?= 2

.PHONY: deps build play test test-fast bench soak clean format install uninstall

format:
	find src tests bench tools -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
