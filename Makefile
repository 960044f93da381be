# Set-up and everyday commands. `make run` and `make test` install what a fresh Debian 12 machine
# lacks, then build; both are quick when nothing is missing.

PACKAGES := g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libpulse-dev \
            libqt6sql6-sqlite libsqlite3-dev libx11-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-ipafont \
            fonts-noto-cjk qt6-translations-l10n python3 xvfb openbox xdotool x11-utils dpkg-dev \
            appstream tzdata
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= $(shell nproc)

.PHONY: run test deps build asan-test bench fuzz mutants install package format clean

run: build
	./build/kestrum-lite

test: build
	ctest --preset default -j $(JOBS)

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	@[ -f build/build.ninja ] || cmake --preset default
	cmake --build --preset default -j $(JOBS)

asan-test: deps
	@[ -f build-asan/build.ninja ] || cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

bench: build
	@for b in build/bench/*_bench; do echo "== $$b"; $$b; done

# Each fuzz target runs FUZZ_SECONDS under the address and undefined sanitizers; any finding fails
# the run and leaves its reproducer in build-fuzz/findings/.
FUZZ_SECONDS ?= 20
fuzz: deps
	@command -v clang++ >/dev/null && [ -f "$$(clang++ -print-runtime-dir)/libclang_rt.fuzzer-x86_64.a" ] || \
	  { $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev; }
	@[ -f build-fuzz/build.ninja ] || CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKESTRUM_FUZZ=ON -DKESTRUM_SANITIZE=ON -DKESTRUM_BENCH=OFF
	cmake --build build-fuzz -j $(JOBS) --target $$(cd fuzz && ls *_fuzz.cpp | sed 's/\.cpp$$//')
	fuzz/run.sh $(FUZZ_SECONDS) build-fuzz

# Slips planted one at a time in the engine, each rebuilt and tested in build-mutants/; a
# developer's tool, slow, and not part of `test`. Example: make mutants ARGS='--folder menu --per-file 4'
mutants: deps
	nice -n 15 python3 tools/mutants.py $(ARGS)

# Debian's hardening (position-independent executable, immediate binding, fortified library
# calls, stack protector) for the builds that are installed: `make install` and `make package`.
HARDENING := DEB_BUILD_MAINT_OPTIONS=hardening=+all
RELEASE_CONFIG = CXXFLAGS="$$($(HARDENING) dpkg-buildflags --get CPPFLAGS) $$($(HARDENING) dpkg-buildflags --get CXXFLAGS)" \
  LDFLAGS="$$($(HARDENING) dpkg-buildflags --get LDFLAGS)" \
  cmake -S . -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRUM_BENCH=OFF -DKESTRUM_TESTS=OFF

# Only the program, stripped, with its desktop entry, icons and manual page; its own build folder
# so that the tests' build keeps its flags.
install: deps
	@[ -f build-install/build.ninja ] || $(RELEASE_CONFIG) -B build-install
	cmake --build build-install -j $(JOBS) --target kestrum-lite
	cmake --install build-install --strip --prefix "$(or $(PREFIX),$(HOME)/.local)"

# A Debian package that installs under /usr (build-package/kestrum-lite_*.deb); its files are
# those `make install` puts in place, with the Debian changelog.
package: deps
	@[ -f build-package/build.ninja ] || $(RELEASE_CONFIG) -B build-package \
	  -DCMAKE_INSTALL_PREFIX=/usr -DKESTRUM_DEBIAN_PACKAGE=ON
	cmake --build build-package -j $(JOBS)
	cd build-package && cpack
	@ls build-package/*.deb

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# Only what the build made: the learner's files beside the program in build/ stay.
clean:
	tools/clean_build.sh build build-asan build-fuzz
	rm -rf build-package build-install
