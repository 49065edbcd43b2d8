# The two commands a newcomer needs: `make demo` and `make test`.
BUILD    := build
TOOLCHAIN := cmake/mingw-w64-x86_64.cmake

.PHONY: all bootstrap configure build test demo clean

all: build

bootstrap:
	@scripts/bootstrap

$(BUILD)/build.ninja: | bootstrap
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN)

configure: bootstrap $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure --timeout 120

demo: build
	scripts/demo $(BUILD)

clean:
	-scripts/harness down
	rm -rf $(BUILD)
