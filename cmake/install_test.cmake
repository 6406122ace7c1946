# Installs the build into a scratch prefix, checks the names, SONAMEs and run
# paths of the installed libraries and the version the package gives, and
# builds two small programs against it (one using both libraries, one the
# setup library alone), once through the CMake package configuration and
# once through pkg-config; on a native build the programs are run too, with
# nothing but their own run paths to find the libraries.
#
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DSCRATCH=... -DVERSION=1.0.4 -DOBJDUMP=...
#         [-DTOOLCHAIN=...] [-DGENERATOR=...] [-DFLAGS=compiler and linker flags] -P install_test.cmake
file(REMOVE_RECURSE "${SCRATCH}")
set(prefix "${SCRATCH}/prefix")
string(REGEX MATCH "^[0-9]+" major "${VERSION}")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

# expect(TEXT REGEX WHAT): fails naming WHAT when TEXT does not match.
function(expect text regex what)
  if(NOT text MATCHES "${regex}")
    message(FATAL_ERROR "${what}: no match for ${regex} in:\n${text}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")
foreach(installed include/vesta/vprop.h include/vesta/vsetu.h include/vesta/version.h
        lib/cmake/Vesta/VestaConfig.cmake lib/pkgconfig/vprop.pc lib/pkgconfig/vsetu.pc)
  if(NOT EXISTS "${prefix}/${installed}")
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()

# The version: one number, the project's, in the header, the CMake package
# and the pkg-config files.
file(READ "${prefix}/include/vesta/version.h" header)
string(REPLACE "." ";" parts "${VERSION}")
list(GET parts 0 1 2 numbers)
foreach(part MAJOR MINOR PATCH)
  list(POP_FRONT numbers number)
  expect("${header}" "#define VESTA_VERSION_${part} ${number}\n" "vesta/version.h")
endforeach()
expect("${header}" "#define VESTA_VERSION_STRING \"${VERSION}\"\n" "vesta/version.h")
file(READ "${prefix}/lib/cmake/Vesta/VestaConfigVersion.cmake" package)
expect("${package}" "set\\(PACKAGE_VERSION \"${VERSION}\"\\)" "VestaConfigVersion.cmake")
foreach(pc vprop vsetu)
  file(READ "${prefix}/lib/pkgconfig/${pc}.pc" text)
  expect("${text}" "\nVersion: ${VERSION}\n" "${pc}.pc")
endforeach()

# The libraries under their names. On Linux libX.so.VERSION, the SONAME
# libX.so.MAJOR as a link to it, libX.so for the linker, and the run path
# $ORIGIN, by which VSetu finds VProp wherever the two lie. On Windows the
# DLLs keep their plain names, which VSetu.dll imports and programs load,
# and carry the version in their image header.
foreach(library VProp VSetu)
  if(TOOLCHAIN)
    foreach(file bin/${library}.dll lib/lib${library}.dll.a)
      if(NOT EXISTS "${prefix}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
      endif()
    endforeach()
    run("${OBJDUMP}" -p "${prefix}/bin/${library}.dll")
    expect("${last_output}" "\nName[ \t]+[0-9a-f]+ ${library}\\.dll\n" "the name ${library}.dll exports under")
    expect("${last_output}" "\nMajorImageVersion[ \t]+${major}\n" "the image version of ${library}.dll")
    if(library STREQUAL "VSetu")
      expect("${last_output}" "DLL Name: VProp\\.dll\n" "VSetu.dll's import of VProp.dll")
    endif()
  else()
    set(real "${prefix}/lib/lib${library}.so.${VERSION}")
    if(NOT EXISTS "${real}" OR IS_SYMLINK "${real}")
      message(FATAL_ERROR "not installed as a file: lib${library}.so.${VERSION}")
    endif()
    foreach(link lib${library}.so.${major} lib${library}.so)
      file(REAL_PATH "${prefix}/lib/${link}" target)
      if(NOT IS_SYMLINK "${prefix}/lib/${link}" OR NOT target STREQUAL "${real}")
        message(FATAL_ERROR "not a link to lib${library}.so.${VERSION}: ${link}")
      endif()
    endforeach()
    run("${OBJDUMP}" -p "${real}")
    expect("${last_output}" "\n  SONAME +lib${library}\\.so\\.${major}\n" "the SONAME of lib${library}")
    expect("${last_output}" "\n  (RUNPATH|RPATH) +\\$ORIGIN\n" "the run path of lib${library}")
    if(library STREQUAL "VSetu")
      expect("${last_output}" "\n  NEEDED +libVProp\\.so\\.${major}\n" "libVSetu's need of libVProp")
    endif()
  endif()
endforeach()

set(toolchain)
if(TOOLCHAIN)
  set(toolchain "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}")
endif()
if(FLAGS)
  list(APPEND toolchain "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}")
endif()
# The consumers touch no files, but any root they might use is a scratch one.
set(ENV{VESTA_ROOT} "${SCRATCH}/root")
# Nothing but the programs' run paths leads to the libraries.
unset(ENV{LD_LIBRARY_PATH})
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
    # The setup-only program needs VSetu alone; VSetu brings VProp.
    run("${OBJDUMP}" -p "${build}/vesta_setup_consumer")
    expect("${last_output}" "\n  NEEDED +libVSetu\\.so\\.${major}\n" "the setup-only consumer (${via}) needing libVSetu")
    if(last_output MATCHES "NEEDED +libVProp")
      message(FATAL_ERROR "the setup-only consumer (${via}) needs libVProp itself:\n${last_output}")
    endif()
    run("${build}/vesta_setup_consumer")
    string(REPLACE "." "\\." version "${VERSION}")
    expect("${last_output}"
      "^setup-only: version ${version} \\(${version}\\) package ${version}\nsetup-only: Report\\.TXT: Text document\nsetup-only: notes\\.xyz: no type\n$"
      "the setup-only consumer (${via})")
  endif()
  message(STATUS "built against the installed tree through ${via}")
endforeach()
file(REMOVE_RECURSE "${SCRATCH}")
