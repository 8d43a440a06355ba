# The commands of the README. `make play` and `make test` install what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
# The browser build lives in the build folder, where its forge finds it.
WEB_BUILD  ?= $(BUILD)/web
WEB_PORT   ?= 8000
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs
FUZZ_SECONDS ?= 600
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
# The long random-key soak: sessions of keys each (1,000,000 keys in all).
SOAK_SESSIONS ?= 500
SOAK_KEYS     ?= 2000
SOAK_JOBS     ?= 2

.PHONY: deps build web play play-web test test-fast bench soak fuzz clean format install uninstall

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

play: build
	./scripts/play.sh $(BUILD)

# The game for the browser (Emscripten): $(WEB_BUILD)/page, which
# `kestrun-forge web` turns into a scenario's page.
# The glyph table comes from the host build.
web: build
	$(EMSCRIPTEN_ENV) emcmake cmake -S web -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
	  -DKESTRUN_GLYPH_TABLE=$(abspath $(BUILD))/generated/glyph_table.cpp
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)

# The sample's page, served on localhost until Ctrl+C.
play-web: build web
	$(BUILD)/kestrun-forge web scenarios/sample $(BUILD)/sample-web
	./scripts/serve-web.sh $(BUILD)/sample-web $(WEB_PORT)

test: build web
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKESTRUN_SANITIZE=ON -DKESTRUN_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)
	./scripts/fuzz.sh $(FUZZ_BUILD) 30

test-fast: build web
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build web
	./scripts/bench.sh $(BUILD)

soak: build
	$(BUILD)/tests/soak/kestrun_soak --sessions $(SOAK_SESSIONS) --keys $(SOAK_KEYS) -j $(SOAK_JOBS)

# `make install PREFIX=$$HOME/.local` for one user; DESTDIR=... stages for a package.
install: build web
	cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD)

# Removes what the last `make install` put in place (see $(BUILD)/install_manifest.txt).
uninstall:
	DESTDIR="$(DESTDIR)" cmake --build $(BUILD) --target uninstall

fuzz: deps
	./scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

format:
	find src tests bench tools -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
