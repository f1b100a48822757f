# The native Windows program: the application folders cross-compiled with MinGW-w64 against
# the system's own headers and import libraries. The forwarding headers in windows/include
# stand first on the include path, so each "platform/..." include reaches the system header
# and platform/ is never built. Included by the top-level Makefile.

WIN_BUILD := build-windows
WIN_CXX := x86_64-w64-mingw32-g++
WIN_SOURCES := $(wildcard app/*.cpp camera/*.cpp particles/*.cpp scene/*.cpp)
WIN_OBJECTS := $(WIN_SOURCES:%.cpp=$(WIN_BUILD)/obj/%.o)
# NOMINMAX: the system's min and max macros would rewrite the standard library's functions.
WIN_CXXFLAGS := -std=c++20 -O2 -Wall -Wextra -Werror -DNOMINMAX -Iwindows/include -I. -MMD -MP
# Static runtime, so that the program needs no MinGW library beside it; a window program,
# with no console of its own.
WIN_LDFLAGS := -static -mwindows
WIN_LIBS := -ld3dx9 -ld3d9 -ldinput8 -ldxguid -lwinmm
WIN_ZIP := $(WIN_BUILD)/korvane-windows.zip
WIN_DATA := $(shell find Data -type f 2>/dev/null)

.PHONY: windows windows-deps

windows-deps:
	@bash tools/install-deps.sh windows

windows: windows-deps
	@$(MAKE) --no-print-directory -j$(JOBS) $(WIN_ZIP)

$(WIN_BUILD)/obj/%.o: %.cpp
	@mkdir -p $(dir $@)
	$(WIN_CXX) $(WIN_CXXFLAGS) -c $< -o $@

$(WIN_BUILD)/korvane.exe: $(WIN_OBJECTS)
	$(WIN_CXX) $(WIN_LDFLAGS) -o $@ $^ $(WIN_LIBS)

# The program with Data/ beside it, in one folder that unzips as it is.
$(WIN_ZIP): $(WIN_BUILD)/korvane.exe $(WIN_DATA)
	rm -rf $(WIN_BUILD)/korvane $@
	mkdir -p $(WIN_BUILD)/korvane
	cp $(WIN_BUILD)/korvane.exe $(WIN_BUILD)/korvane/
	cp -r Data $(WIN_BUILD)/korvane/
	cd $(WIN_BUILD) && zip -qrX korvane-windows.zip korvane
	rm -rf $(WIN_BUILD)/korvane
	@echo "$(WIN_BUILD)/korvane.exe and $@"

-include $(WIN_OBJECTS:.o=.d)

# The Wine suite: the program from its zip under Wine in Xvfb.
.PHONY: test-windows
$(WIN_BUILD)/kv_hold_first_frame: tests/windows/hold_first_frame.cpp
	g++ -std=c++20 -O2 -Wall -Wextra -o $@ $< -lX11

test-windows: windows $(WIN_BUILD)/kv_hold_first_frame
	bash tests/windows/wine_test.sh $(WIN_BUILD)
