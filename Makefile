# The two commands of this project: `make play` and `make test`.
# Each installs what is missing, builds, and then plays or tests.

BUILD      ?= build
ASAN_BUILD ?= build-asan
WINDOWS_BUILD ?= build-windows
WEB_BUILD  ?= build-web
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
# One part of the bench instead of all of it, e.g. BENCH_ARGS=--idle (see bench/run_bench.py).
BENCH_ARGS ?=
# Debian's Python with the desktop-test tools (tests/vomba_desktop) importable,
# for the preview and the bench.
DESKTOP_PYTHON = PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=$(CURDIR)/tests /usr/bin/python3

.PHONY: play test fresh-check preview package package-check release release-check bench windows web configure build asan deps test-deps format clean

# Only the game and its files: a player needs no test tools.
play: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target vombapong
	cd $(BUILD)/game && ./vombapong

# The whole-program layers play the real game beside each other on a busy
# machine: a case that fails is run once more, and fails only if it fails again
# (a broken game fails every time; ctest's output shows every failed attempt).
test: test-deps build asan windows web
	cd $(ASAN_BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS) -L 'unit|headless'
	cd $(BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS) --repeat until-pass:2

# `make test` and then `make play` as a newcomer runs them, on a Debian 12 root
# made bare for the purpose from Debian's archive. Needs root; takes 30-45
# minutes; not part of `make test`.
fresh-check:
	@scripts/install-deps.sh --fresh-check
	scripts/fresh-machine-check.sh

# Every picture of the game beside a screenshot of it in play, in one PNG.
preview: test-deps build
	$(DESKTOP_PYTHON) tools/preview/make_preview.py --game-dir $(BUILD)/game --out $(BUILD)/preview/preview.png

# The Debian packages as a build daemon makes them, from debian/: the source
# package, and the .deb built from it with its tests, in a clean Debian 12 root
# (root; several minutes). $(BUILD)/package/ gets the .dsc, the .deb files and
# the build's log; lintian then checks them. Install: apt install ./$(BUILD)/package/vombapong_*.deb
package:
	nice scripts/deb-clean-root.sh build $(BUILD)/package
	lintian --fail-on error,warning --display-info --display-experimental --pedantic \
	  $(BUILD)/package/vombapong_*.changes

# Two such builds, the second with another path, clock, umask, locale and
# timezone, must give the same .deb files; then debian/tests runs against the
# first in a fresh root (autopkgtest). Root; twice the time of `make package`.
package-check:
	nice scripts/deb-reproducible.sh $(BUILD)/package-check
	nice scripts/deb-clean-root.sh autopkgtest $(BUILD)/package-check/first

# Every file a release publishes, from the last commit alone, into
# $(RELEASE_DIR)/VombaPong-<version>/: the Debian packages, the Windows zip, the
# site as a zip, SHA256SUMS and RELEASE-NOTES.md (scripts/release.sh). Refuses
# a working tree with uncommitted changes. Root; about half an hour.
# RELEASE_OPTIONS="--vary --compare DIR" builds again from another path, clock,
# umask, locale and timezone into another RELEASE_DIR and compares every file.
RELEASE_DIR ?= $(BUILD)/release
RELEASE_OPTIONS ?=
release:
	@scripts/install-deps.sh --release
	nice scripts/release.sh $(RELEASE_OPTIONS) $(RELEASE_DIR)

# The release checked as a downloader would: the sums, the .deb installed and
# started in a clean root, the Windows zip under Wine, the site in Chromium.
release-check:
	@scripts/install-deps.sh --release
	nice scripts/release-check.sh $(RELEASE_DIR)/VombaPong-$$(cat VERSION)

# What the game costs the machine, beside the floor of its design: prints its
# tables and writes them to $(BUILD)/bench/performance.md. What they mean is
# written by hand in docs/performance.md. The page is built too, and measured
# beside the desktop in Chromium and Firefox. Takes several minutes; not a test.
bench:
	@scripts/install-deps.sh --bench
	$(MAKE) build web
	$(DESKTOP_PYTHON) bench/run_bench.py --build-dir $(BUILD) --site $(WEB_BUILD)/site $(BENCH_ARGS)

# The game for Windows: $(WINDOWS_BUILD)/VombaPong-<version>-win64.zip, cross-built
# with MinGW-w64 against SDL2 and SDL2_mixer from Debian's sources (built once
# into the cache outside the clone by scripts/cross-sdl.sh); the generator
# draws the game's files under Wine. The first run installs about 1.3 GB.
windows:
	@scripts/install-deps.sh --windows
	sdl=$$(scripts/cross-sdl.sh win64) && \
	  cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/windows/mingw-w64-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_PREFIX_PATH="$$sdl" -DVOMBA_TESTS=OFF -DVOMBA_BENCH=OFF
	nice cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target windows_zip

# The game as a page: $(WEB_BUILD)/site/ holds everything a static file server
# needs. Built with Emscripten against SDL built from Debian's sources (kept in
# the cache after the first time); see web/CMakeLists.txt. The generator runs
# under Node as it is (emcmake's default adds a flag that Node 20 refuses).
web: export NODE_PATH := /usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))
web:
	@scripts/install-deps.sh --web
	@sdl=$$(scripts/cross-sdl.sh web) && \
	  emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release -DVOMBA_TESTS=OFF \
	    -DVOMBA_BENCH=OFF -DCMAKE_PREFIX_PATH="$$sdl" -DCMAKE_FIND_ROOT_PATH="$$sdl" \
	    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node
	nice cmake --build $(WEB_BUILD) -j $(JOBS) --target vomba_site

deps:
	@scripts/install-deps.sh

test-deps:
	@scripts/install-deps.sh --test

configure:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOMBA_WEB_SITE=$(abspath $(WEB_BUILD))/site

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# AddressSanitizer + UBSan build of the unit and whole-program tests.
asan:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVOMBA_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WINDOWS_BUILD) $(WEB_BUILD)
