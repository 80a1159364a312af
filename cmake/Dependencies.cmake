# Every third-party package comes from Debian; each target links only what its layer may use.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(CURL REQUIRED)
find_package(nlohmann_json 3.10 REQUIRED)
find_package(OpenSSL REQUIRED)
find_package(ZLIB REQUIRED)
find_package(SQLite3 REQUIRED)
find_package(GTest REQUIRED)
find_package(benchmark QUIET)
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets DBus Test Concurrent Network)
# The windows' handlers wait for the cloud as C++20 coroutines.
find_package(QCoro6 REQUIRED COMPONENTS Core)
# Debian's cpp-httplib is a compiled library whose pkg-config flags are mandatory.
pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
pkg_check_modules(GST REQUIRED IMPORTED_TARGET gstreamer-1.0 gstreamer-base-1.0 gstreamer-audio-1.0)
# The tests' check that a recorded file plays: GStreamer's discoverer.
pkg_check_modules(GST_PBUTILS REQUIRED IMPORTED_TARGET gstreamer-pbutils-1.0)
# The TLS database the player gives GStreamer's HTTP source.
pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0)
