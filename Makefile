# The two everyday commands: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2

.PHONY: all run test deps build bench clean format

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

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
