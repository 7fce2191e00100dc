# libjpeg-turbo (6b API), cross-built as a static library from the Debian
# source package that tools/fetch-libjpeg.sh unpacks into the build tree.
include(ExternalProject)
# Both builds of the tree share one unpacked source (QUILLORY_DEPS_DIR).
set(QUILLORY_DEPS_DIR ${CMAKE_BINARY_DIR}/_deps CACHE PATH "Where outside sources are unpacked")
set(LIBJPEG_SOURCE_DIR ${QUILLORY_DEPS_DIR}/libjpeg-turbo-src)
set(LIBJPEG_INSTALL_DIR ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo)
if(NOT EXISTS ${LIBJPEG_SOURCE_DIR}/CMakeLists.txt)
  execute_process(
    COMMAND ${CMAKE_SOURCE_DIR}/tools/fetch-libjpeg.sh ${LIBJPEG_SOURCE_DIR}
    RESULT_VARIABLE fetch_result)
  if(NOT fetch_result EQUAL 0)
    message(FATAL_ERROR "Could not unpack the libjpeg-turbo source package")
  endif()
endif()
ExternalProject_Add(libjpeg_build
  SOURCE_DIR ${LIBJPEG_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-build
  INSTALL_DIR ${LIBJPEG_INSTALL_DIR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    -DCMAKE_BUILD_TYPE=Release
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF
    -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF
  # Only the library and the headers a user of it includes: the package's
  # programs and documents are not needed here.
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
  INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory <INSTALL_DIR>/lib <INSTALL_DIR>/include
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/libjpeg.a <INSTALL_DIR>/lib
    COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/jpeglib.h <SOURCE_DIR>/jmorecfg.h <SOURCE_DIR>/jerror.h
            <BINARY_DIR>/jconfig.h <INSTALL_DIR>/include
  BUILD_BYPRODUCTS ${LIBJPEG_INSTALL_DIR}/lib/libjpeg.a
  CMAKE_GENERATOR Ninja
  LOG_CONFIGURE ON LOG_BUILD ON LOG_INSTALL ON LOG_OUTPUT_ON_FAILURE ON)
file(MAKE_DIRECTORY ${LIBJPEG_INSTALL_DIR}/include)
add_library(jpeg STATIC IMPORTED GLOBAL)
set_target_properties(jpeg PROPERTIES
  IMPORTED_LOCATION ${LIBJPEG_INSTALL_DIR}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${LIBJPEG_INSTALL_DIR}/include)
add_dependencies(jpeg libjpeg_build)
