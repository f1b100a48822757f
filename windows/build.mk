# The native Windows program: the application folders cross-compiled with MinGW-w64 against
# the system's own headers and import libraries, with our own D3DX linked in over the system's
# Direct3D 9, so that it needs nothing beyond Windows itself. The forwarding headers in
# windows/include stand first on the include path, so each "platform/..." include reaches the
# system header. Of platform/ only the D3DX pieces are built: platform/d3dx9/, the .x reader
# (platform/xfile/, zlib from libz-mingw-w64-dev) and the image decoder over stb_image
# (platform/image/), as SDL2_image is not there. Included by the top-level Makefile.

WIN_BUILD := build-windows
WIN_CXX := x86_64-w64-mingw32-g++
WIN_APP_SOURCES := $(wildcard app/*.cpp camera/*.cpp particles/*.cpp scene/*.cpp)
# What the system's header defines inline (math_operators.cpp) or its libraries hold
# (interface_ids.cpp), the browser's number parsing and the SDL2_image reader stay out.
WIN_D3DX_SOURCES := $(filter-out platform/d3dx9/math_operators.cpp platform/d3dx9/interface_ids.cpp \
  platform/xfile/real_number_web.cpp platform/image/read_image.cpp platform/image/memory_source.cpp, \
  $(wildcard platform/d3dx9/*.cpp platform/xfile/*.cpp platform/image/*.cpp))
WIN_SOURCES := $(WIN_APP_SOURCES) $(WIN_D3DX_SOURCES)
WIN_OBJECTS := $(WIN_SOURCES:%.cpp=$(WIN_BUILD)/obj/%.o)
WIN_D3DX_OBJECTS := $(WIN_D3DX_SOURCES:%.cpp=$(WIN_BUILD)/obj/%.o)
# NOMINMAX: the system's min and max macros would rewrite the standard library's functions.
# stb_image.h from libstb-dev: only its own folder, never the host's whole include folder.
WIN_CXXFLAGS := -std=c++20 -O2 -Wall -Wextra -Werror -DNOMINMAX -Iwindows/include -I. \
  -isystem /usr/include/stb -MMD -MP
# Static runtime, so that the program needs no MinGW library beside it; a window program,
# with no console of its own.
WIN_LDFLAGS := -static -mwindows
WIN_D3DX_LIBS := -ld3d9 -ldxguid -luuid -lz
WIN_LIBS := $(WIN_D3DX_LIBS) -ldinput8 -lwinmm
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

# stb_image with wrapping signed arithmetic, as platform/image/CMakeLists.txt says why.
$(WIN_BUILD)/obj/platform/image/stb_image.o: WIN_CXXFLAGS += -fwrapv

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

# The suite's loader program twice: over the system's D3DX and over ours.
WIN_LOADERS := $(WIN_BUILD)/loader_counts_system.exe $(WIN_BUILD)/loader_counts_ours.exe
$(WIN_BUILD)/obj/loader_counts.o: tests/windows/loader_counts.cpp
	@mkdir -p $(dir $@)
	$(WIN_CXX) $(WIN_CXXFLAGS) -c $< -o $@
$(WIN_BUILD)/loader_counts_system.exe: $(WIN_BUILD)/obj/loader_counts.o
	$(WIN_CXX) -static -o $@ $^ -ld3dx9 -ld3d9
$(WIN_BUILD)/loader_counts_ours.exe: $(WIN_BUILD)/obj/loader_counts.o $(WIN_D3DX_OBJECTS)
	$(WIN_CXX) -static -o $@ $^ $(WIN_D3DX_LIBS)

test-windows: windows $(WIN_BUILD)/kv_hold_first_frame
	@$(MAKE) --no-print-directory -j$(JOBS) $(WIN_LOADERS)
	bash tests/windows/wine_test.sh $(WIN_BUILD)
