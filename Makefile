# The two commands of the README:
#   make run   builds everything and starts lumacast.exe under Wine
#   make test  builds everything and runs every test
.PHONY: run test setup native windows i686 fuzz bench clean

run: setup
	cmake --preset win64 && cmake --build --preset win64
	bash tools/wine/run_lumacast.sh build/win64 $(FILE)

test:
	bash tools/test_all.sh

setup:
	bash tools/setup.sh

native: setup
	cmake --preset native-debug && cmake --build --preset native-debug
	ctest --test-dir build/native-debug --output-on-failure

windows: setup
	cmake --preset win64 && cmake --build --preset win64
	bash tools/wine/run_windows_tests.sh build/win64

i686: setup
	cmake --preset win32 && cmake --build --preset win32
	python3 tools/check_ordinals.py build/win32

fuzz: setup
	cmake --preset native-fuzz && cmake --build --preset native-fuzz
	bash tools/fuzz_smoke.sh build/native-fuzz $${FUZZ_SECONDS:-60}

bench: setup
	cmake --preset native-release && cmake --build --preset native-release
	build/native-release/bench/lc_bench

clean:
	rm -rf build
