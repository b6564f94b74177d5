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

.PHONY: all deps native win64 win32 build test run demo install store wineprefix printer clean fuzz bench-mime bench-net bench-panes bench-print bench-transfer bench-viewer bench-spell bench-merge test-sanitize faults soak

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

# The default printer of tests and runs: a CUPS queue printing to PDF files in build/win64/print-out.
printer: deps
	@bash tools/setup/cups.sh $(abspath $(WIN64))/print-out

# The 32-bit build runs beside the tests (tools/ci/test.sh).
test: native win64 wineprefix printer
	@bash tools/ci/test.sh $(abspath $(NATIVE)) $(abspath $(WIN64)) $(abspath $(BUILD))/xvfb

# The installation folder: deliverables, catalogues, pages; the registry's InstallPath points at it.
install: win64
	@bash tools/setup/install.sh $(WIN64) $(INSTALL)

store: install
	@bash tools/setup/store.sh $(INSTALL)/Lorvex.db

run: install store wineprefix printer
	@bash tools/setup/run.sh $(WIN64) $(INSTALL) $(BUILD)

# A try-out with a mailbox of its own: local POP3 (sample mail) and SMTP servers, then Lorvex.
# The servers speak TLS with a certificate the demo's Wine prefix trusts; DEMO_TLS=0: clear text.
demo: win64
	@bash tools/demo/demo.sh $(NATIVE) $(WIN64) $(BUILD)

# libFuzzer runs of every reader of outside input (fuzz/run.sh lists them), FUZZ_SECONDS each
# (default 5; `make fuzz FUZZ_SECONDS=600` for a long run). Findings: build/fuzz/artifact-*.
fuzz: deps
	@bash fuzz/run.sh $${FUZZ_SECONDS:-5} $(abspath $(BUILD))/fuzz

# Figures, not pass/fail: scanning a 150 MB spool against Python's email package and GMime.
bench-mime: win64 wineprefix
	@bash bench/mime/run.sh $(WIN64)

# Figures: 1,000 messages retrieved from Dovecot and sent to aiosmtpd, against poplib and smtplib,
# a bare blocking Winsock client under the same Wine, and the sessions run natively; then POP3 over
# TLS against poplib.POP3_SSL and SMTP with STARTTLS and AUTH against smtplib.
bench-net: win64 wineprefix
	@cmake --build $(WIN64) --target tern_bench floor_client -j $(JOBS)
	@cmake --build $(NATIVE) --target native_bench -j $(JOBS)
	@bash bench/netlib/run.sh $(WIN64) $(NATIVE)

# Figures: filling the message list for 10,000 messages against a bare ODBC query.
bench-panes: win64 wineprefix
	@cmake --build $(WIN64) --target panes_bench -j $(JOBS)
	@bash bench/panes/run.sh $(WIN64)

# Figures: a 1 MB text paginated and drawn through the print engine against a plain GDI loop.
bench-print: win64 wineprefix printer
	@cmake --build $(WIN64) --target print_bench -j $(JOBS)
	@bash bench/print/run.sh $(WIN64)

# Figures: 1,000 messages retrieved, scanned and stored through the retrieval dialog against the
# bare pull, scan and inserts of the same messages.
bench-transfer: win64 wineprefix
	@cmake --build $(WIN64) --target transfer_bench -j $(JOBS)
	@bash bench/transfer/run.sh $(WIN64)

# Figures: a 1 MB message with 8 attached files opened from the list until the viewer's page file
# is complete, against the bare store read of the same rows.
bench-viewer: win64
	@cmake --build $(WIN64) --target viewer_bench -j $(JOBS)
	@bash bench/viewer/run.sh $(WIN64)

# Figures: the spell checker (natively built) against Hunspell: a 32,000-character body checked
# and suggestions for 1,000 real misspellings, with how often the intended word comes first.
bench-spell: native
	@cmake --build $(NATIVE) --target spell_bench spell_lexicons -j $(JOBS)
	@bash bench/spell/run.sh $(NATIVE)

# Figures: a mail merge of 5,000 addresses (20 KB text, 50 KB attachment) sent to aiosmtpd by the
# merge run under Wine, against Python's smtplib sending the same messages over one connection.
bench-merge: win64 wineprefix
	@cmake --build $(WIN64) --target merge_bench -j $(JOBS)
	@bash bench/merge/run.sh $(WIN64)

# A soak under Wine, not part of `make test`: 20,000 messages (SOAK_BATCHES of SOAK_BATCH) retrieved
# from a Dovecot of its own into one main window, which lists, searches, moves, deletes and prints
# SOAK_PRINT messages; fails when memory, handles or GDI objects grow with the message count.
soak: win64
	@cmake --build $(WIN64) --target soak_driver -j $(JOBS)
	@bash bench/soak/run.sh $(WIN64) $${SOAK_BATCHES:-20} $${SOAK_BATCH:-1000} $${SOAK_PRINT:-200}

# The portable core's tests under ASan and UBSan.
test-sanitize: deps
	@cmake -S . -B $(BUILD)/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLX_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD)/asan -j $(JOBS)
	@cd $(BUILD)/asan && UBSAN_OPTIONS=halt_on_error=1 ctest -j $(JOBS) --output-on-failure

# Mail is never lost under faults: the Wine fault tests with a long sweep of places where the
# POP3 connection is cut (LX_FAULTS_LONG), against the shared test servers and the fault servers.
faults: win64 wineprefix
	@cmake --build $(WIN64) --target faults_retrieval faults_sending -j $(JOBS)
	@eval "$$(bash tools/setup/xvfb.sh $(BUILD)/xvfb)"; cd $(WIN64) && \
	  LX_FAULTS_LONG=1 flock /tmp/lorvex-peers.lock ctest -R '^faults_' --output-on-failure; \
	  status=$$?; [ -n "$${LX_XVFB_PID:-}" ] && kill $$LX_XVFB_PID; \
	  cat faultpeers/report.txt 2>/dev/null; exit $$status

clean:
	rm -rf $(BUILD)
