# Installs the build into a scratch prefix and builds a small program
# against it, once through the CMake package configuration and once through
# pkg-config; on a native build the program is run too.
#
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DSCRATCH=... [-DTOOLCHAIN=...]
#         [-DGENERATOR=...] [-DFLAGS=compiler and linker flags] -P install_test.cmake
file(REMOVE_RECURSE "${SCRATCH}")
set(prefix "${SCRATCH}/prefix")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")
foreach(installed include/vesta/vprop.h include/vesta/vsetu.h lib/cmake/Vesta/VestaConfig.cmake
        lib/pkgconfig/vprop.pc lib/pkgconfig/vsetu.pc)
  if(NOT EXISTS "${prefix}/${installed}")
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()

set(toolchain)
if(TOOLCHAIN)
  set(toolchain "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}")
endif()
if(FLAGS)
  list(APPEND toolchain "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}")
endif()
# The consumer touches no files, but any root it might use is a scratch one.
set(ENV{VESTA_ROOT} "${SCRATCH}/root")
foreach(via cmake pkg-config)
  set(build "${SCRATCH}/consumer-${via}")
  set(ENV{PKG_CONFIG_PATH} "${prefix}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_LIBDIR} "${prefix}/lib/pkgconfig")
  run(${CMAKE_COMMAND} -S "${SOURCE_DIR}/cmake/consumer" -B "${build}" -G "${GENERATOR}" ${toolchain}
      -DVESTA_VIA=${via} "-DCMAKE_PREFIX_PATH=${prefix}" "-DVESTA_PREFIX=${prefix}")
  run(${CMAKE_COMMAND} --build "${build}")
  if(NOT TOOLCHAIN)
    run("${build}/vesta_consumer")
    if(NOT last_output MATCHES "consumer: Text document gives the texture C:.VESTA.media.doc.bmp")
      message(FATAL_ERROR "the consumer (${via}) said: ${last_output}")
    endif()
  endif()
  message(STATUS "built against the installed tree through ${via}")
endforeach()
file(REMOVE_RECURSE "${SCRATCH}")
