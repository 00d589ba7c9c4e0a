# make test: installs what is missing (as root), creates the Wine prefix once, then runs
#            the native and the Windows (under Wine) test workflows and the i686 build.
# make run:  builds the Windows exe and starts Kitwright under Wine.
.PHONY: test run deps wineprefix native windows i686 clean

test: deps wineprefix i686 native windows

deps:
	@bash cmake/install-deps.sh

wineprefix: deps
	@bash cmake/wine-prefix.sh

native: deps
	cmake --workflow --preset native

windows: deps wineprefix
	cmake --workflow --preset windows

i686: deps
	cmake --preset windows-i686
	cmake --build --preset windows-i686

run: deps wineprefix
	@bash cmake/run.sh

clean:
	rm -rf build/native build/windows build/windows-i686

# make bench: times plugin creation with a folder-tree copy against a plain recursive copy,
#             natively and under Wine. Not part of `make test`.
.PHONY: bench
bench: deps wineprefix
	cmake --preset native
	cmake --build --preset native --target kw_copy_bench
	./build/native/tests/bench/kw_copy_bench
	cmake --preset windows
	cmake --build --preset windows --target kw_copy_bench
	bash cmake/wine-run.sh build/windows/tests/bench/kw_copy_bench.exe
