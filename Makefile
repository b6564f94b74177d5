# Lorvex — the two commands a newcomer needs:
#   make run    install what is missing, build, create the embedded store, start Lorvex under Wine
#   make test   install what is missing, build everything, run every test
SHELL := /bin/bash
BUILD   ?= build
NATIVE  := $(BUILD)/native
WIN64   := $(BUILD)/win64
WIN32   := $(BUILD)/win32
INSTALL := $(abspath $(BUILD)/install)
JOBS    ?= $(shell nproc)
ROOT    := $(abspath .)

.PHONY: all deps native win64 win32 build test test-native test-win run install store wineprefix clean

all: build

deps:
	@bash tools/setup/deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

win64: native
	@cmake -S . -B $(WIN64) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/toolchain-mingw64.cmake -DLX_NATIVE_TOOLS=$(abspath $(NATIVE))/tools >/dev/null
	@cmake --build $(WIN64) -j $(JOBS)

# The 32-bit target the system is written for: compiled (deliverables only), not run.
win32: native
	@cmake -S . -B $(WIN32) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLX_TESTS=OFF \
	  -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/toolchain-mingw32.cmake -DLX_NATIVE_TOOLS=$(abspath $(NATIVE))/tools >/dev/null
	@cmake --build $(WIN32) -j $(JOBS)

build: native win64 win32

wineprefix: deps
	@bash tools/setup/wineprefix.sh $(abspath $(WIN64))/wineprefix
	@bash tools/setup/odbc.sh $(abspath $(WIN64))/odbc $(abspath $(WIN64))/test-store/Lorvex.db
	@bash tools/setup/odbc.sh $(abspath $(NATIVE))/odbc $(abspath $(NATIVE))/test-store/Lorvex.db

test: build wineprefix
	@rm -rf $(NATIVE)/test-reports $(WIN64)/test-reports
	@set +e; \
	export ODBCSYSINI=$(abspath $(NATIVE))/odbc ODBCINI=$(abspath $(NATIVE))/odbc/odbc.ini; \
	(cd $(NATIVE) && ctest -j $(JOBS) --output-on-failure 2>&1 | tail -n 40); \
	eval "$$(bash tools/setup/xvfb.sh $(BUILD)/xvfb)"; \
	(cd $(WIN64) && ctest -j 1 --output-on-failure 2>&1 | tail -n 60); \
	[ -n "$${LX_XVFB_PID:-}" ] && kill $$LX_XVFB_PID 2>/dev/null; \
	WINEPREFIX=$(abspath $(WIN64))/wineprefix wineserver -k 2>/dev/null; \
	python3 tools/ci/summary.py $(NATIVE) $(WIN64)

# The installation folder: deliverables, catalogues, pages; the registry's InstallPath points at it.
install: win64
	@bash tools/setup/install.sh $(WIN64) $(INSTALL)

store: install
	@bash tools/setup/store.sh $(INSTALL)/Lorvex.db

run: install store wineprefix
	@bash tools/setup/run.sh $(WIN64) $(INSTALL) $(BUILD)

clean:
	rm -rf $(BUILD)
