# The two everyday commands: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2

.PHONY: all run test deps build package bench bench-a11y screenshots clean format test-sanitize fuzz

all: build

deps:
	@tools/install-deps

$(BUILD)/build.ninja $(BUILD)/Makefile:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/Makefile
	cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/bin/Clavido6

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The Debian package lumoclavido_6.1.0-1_amd64.deb, in the build folder.
package: build
	cd $(BUILD) && cpack -G DEB
	@echo "make package: $(BUILD)/$$(cd $(BUILD) && ls -t lumoclavido_*.deb | head -1)"

bench: build
	$(BUILD)/bin/clavido_bench

# Sign-in and main window with and without the accessibility bridge, under Xvfb.
bench-a11y: build
	tools/bench-a11y $(BUILD)/bin/clavido_bench

# Under Xvfb with a window manager, so that the windows are drawn by the real
# window system, with their frames and icons.
screenshots: build
	xvfb-run -a -s "-screen 0 1280x1024x24" sh -c \
		'openbox & sleep 1; QT_QPA_PLATFORM=xcb $(BUILD)/bin/make_screenshots docs/screenshots'

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in a
# build of its own. Debug, so that Qt's checks in its inline code are on too.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_FLAGS = -fsanitize=address,undefined -fno-omit-frame-pointer
# Also for the tools the build runs (the icon painter).
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	    -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" \
	    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
	$(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen \
	    ctest --output-on-failure -j$(JOBS)

# libFuzzer on hostile database files and the field cipher, each target
# FUZZ_SECONDS long, in a build of its own with clang (make test needs none).
FUZZ_BUILD ?= build-fuzz
FUZZ_TARGETS ?= record_file old_file access_file field_cipher
FUZZ_SECONDS ?= 600

fuzz: deps
	@command -v clang++-14 > /dev/null && ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a \
	    > /dev/null 2>&1 || { echo "make fuzz needs: apt-get install clang-14 libclang-rt-14-dev"; exit 1; }
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++-14 -DCLAVIDO_FUZZ=ON \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# Never a database file: see tools/clean.
clean:
	@tools/clean $(BUILD)
