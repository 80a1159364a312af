# The three programs in bin/ and one Debian package holding everything installed
# (scripts/package builds it from the plain build).
include(GNUInstallDirs)
install(TARGETS tunewell tunewell-publish tunewell-cloud RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tunewell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Marta Quintela")
set(CPACK_PACKAGE_CONTACT "Marta Quintela <${TUNEWELL_MAKER_CONTACT}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "internet radio player with a shared station catalogue")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TUNEWELL_MAKER_SITE})
# The summary above is the first line; CPack indents these lines and marks the empty one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tunewell shows a catalogue of internet radio stations beside a stream
player; a click on a station plays it. The catalogue is read from a cloud
database at every start. A free profile keeps the listener's favourite
stations and the last station played.

The package also holds tunewell-publish, which publishes the catalogue, and
tunewell-cloud, a local stand-in for the cloud services, which the player
starts by itself when it finds no cloud answering on this computer.")
# The libraries come from the binaries; the player's GStreamer plug-ins are loaded at run time,
# so they are named here: base (playbin), good (HTTP, MP3, the parsers, audio output) and bad
# (HLS, MPEG-TS, AAC). libav decodes AAC variants the others do not. fonts-wine carries the
# Tahoma-compatible font the window layouts were measured with. The cloud and many stations speak
# HTTPS only: ca-certificates is the system's store their certificates are checked against
# (libcurl only recommends it), and glib-networking gives GStreamer's HTTP source its TLS.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, fonts-wine, ca-certificates, glib-networking")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-libav")
include(CPack)
