# Thin wrapper around CMake. `make run` and `make test` set up everything on a fresh Debian 12:
# `make run` what building and running need, `make test` the test tools as well; `make build`
# only builds.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: deps deps-test deps-ci build run test test-windows bench install package format clean

deps:
	./scripts/install-deps build

deps-test:
	./scripts/install-deps test

deps-ci:
	./scripts/install-deps ci

build:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: deps
	$(MAKE) build
	./$(BUILD)/palquin

test: deps-test
	$(MAKE) build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The window-free libraries and their tests, cross-built for Windows and run under Wine.
test-windows: deps-ci
	./scripts/test-windows build-windows $(JOBS)

# Benchmarks get their own optimised build, so the test build keeps its type.
bench: deps-test
	$(MAKE) build BUILD=$(BUILD)-bench BUILD_TYPE=Release CMAKE_FLAGS=-DPALQUIN_TESTS=OFF
	./$(BUILD)-bench/bench/palquin_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	./$(BUILD)-bench/bench/palquin_memory_peak
	./bench/startup_bench.sh $(BUILD)-bench/palquin

# `sudo make install` puts the program, its menu entry, icon and metainfo under PREFIX.
PREFIX ?= /usr/local
install:
	$(MAKE) build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip
	-command -v update-desktop-database >/dev/null && update-desktop-database -q $(DESTDIR)$(PREFIX)/share/applications
	-command -v gtk-update-icon-cache >/dev/null && gtk-update-icon-cache -q -t $(DESTDIR)$(PREFIX)/share/icons/hicolor

# A .deb in $(BUILD)/packages/, its dependencies worked out by dpkg-shlibdeps.
package: deps-test
	$(MAKE) build
	cd $(BUILD) && cpack -G DEB
	@ls -1 $(BUILD)/*.deb

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-windows
