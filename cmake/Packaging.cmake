# The Debian package: `cpack` in a build folder (or the target `package`) makes
# quorvel_<version>_amd64.deb from the system-style install under /usr.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

set(QUORVEL_MAINTAINER "Brackmoor Audio <support@brackmooraudio.com>")

# The licence and a changelog of this release, as Debian keeps them for every package.
set(package_doc "${PROJECT_BINARY_DIR}/package-doc")
configure_file(LICENSE "${package_doc}/copyright" COPYONLY)
# Honours SOURCE_DATE_EPOCH, so that a reproducible build gets the same changelog.
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(CONFIGURE OUTPUT "${package_doc}/changelog" CONTENT
"quorvel (${PROJECT_VERSION}) unstable; urgency=medium

  * Release ${PROJECT_VERSION}.

 -- ${QUORVEL_MAINTAINER}  ${changelog_date}
")
execute_process(COMMAND gzip -9nkf "${package_doc}/changelog" COMMAND_ERROR_IS_FATAL ANY)
quorvel_install_system_files(DESTINATION ${QUORVEL_SYSTEM_DOC_DIR}
  FILES "${package_doc}/copyright" "${package_doc}/changelog.gz")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "Brackmoor Audio")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${QUORVEL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "analog-style filter and modulation effect (CLAP plug-in)")
# Lines of at most 76 characters: the control file indents them by one.
set(CPACK_PACKAGE_DESCRIPTION
  "Quorvel is a stereo audio effect in the CLAP plug-in format: a resonant
ladder filter (low pass or band pass), a high-pass filter, drive with an
optional feedback path, a four-stage phaser and a four-tap chorus, with nine
modulation slots fed by two LFOs, an envelope follower and a gated ADSR, an
output gain and a brickwall limiter. It comes with 27 factory presets, a
resizable editor and a user manual.

Hosts that load CLAP plug-ins find it in /usr/lib/clap. The package also
holds quorvel-render, which runs audio files through the plug-in,
quorvel-info, which prints what a CLAP module tells a host, and
quorvel-snapshot, which draws the editor into a PNG file.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.brackmooraudio.com")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
