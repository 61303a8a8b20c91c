# The two everyday commands: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2

.PHONY: all run test deps build bench bench-a11y screenshots clean format

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

bench: build
	$(BUILD)/bin/clavido_bench

# Sign-in and main window with and without the accessibility bridge, under Xvfb.
bench-a11y: build
	tools/bench-a11y $(BUILD)/bin/clavido_bench

# Under Xvfb, so that the windows are drawn by the real window system.
screenshots: build
	xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD)/bin/make_screenshots docs/screenshots

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
