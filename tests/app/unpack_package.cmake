# Unpacks the release archive into a fresh folder, as a user does before starting the program.
# cmake -DARCHIVE=<zip> -DDESTINATION=<folder> -P unpack_package.cmake
file(REMOVE_RECURSE ${DESTINATION})
file(MAKE_DIRECTORY ${DESTINATION})
file(ARCHIVE_EXTRACT INPUT ${ARCHIVE} DESTINATION ${DESTINATION})
