# The Windows program, cross-built with mingw-w64 (posix threads, for
# std::mutex and std::thread) and linked statically, so that ecoassess.exe
# needs no DLL beside it:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-w64-mingw32.cmake -DBUILD_TESTING=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
