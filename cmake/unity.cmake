# Batched ("unity") compilation for the Windows builds: each target's
# sources are compiled a few at a time, one translation unit per batch, so
# the headers and the template code they share are compiled once per batch
# rather than once per file. A batch holds QUILLORY_UNITY_FILES files that
# are neighbours by name: which batch a file joins depends only on the list
# of the target's file names, never on their contents, so a file that grows
# moves no other file into another batch.
#
# Files that bind platform-free code to Win32 (*_win32.cpp) are batched
# apart from the platform-free files of their folder, which never see
# <windows.h>. A file marked SKIP_UNITY_BUILD_INCLUSION or named by
# quillory_unity_alone is compiled on its own; the place that names it says
# why.
#
# Batching hides an include a file lacks when a batchmate brings it in:
# configure with -DQUILLORY_UNITY=OFF to compile every file on its own
# (tools/test.sh does so for the 64-bit tree, in build/x86_64-single).
option(QUILLORY_UNITY "Compile the sources of the Windows builds in batches" ON)
set(QUILLORY_UNITY_FILES 6 CACHE STRING "Source files compiled in one batch")

# Compiles files on their own, outside every batch:
#   quillory_unity_alone(a.cpp ...)    paths relative to the top of the tree
function(quillory_unity_alone)
  foreach(file IN LISTS ARGN)
    set_property(GLOBAL PROPERTY QUILLORY_UNITY_ALONE:${PROJECT_SOURCE_DIR}/${file} ON)
  endforeach()
endfunction()

function(quillory_unity target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(dir ${target} SOURCE_DIR)
  set(free)
  set(win32)
  foreach(source IN LISTS sources)
    if(NOT source MATCHES "\\.cpp$")
      continue()
    endif()
    get_filename_component(path ${source} ABSOLUTE BASE_DIR ${dir})
    get_source_file_property(skip ${path} TARGET_DIRECTORY ${target} SKIP_UNITY_BUILD_INCLUSION)
    get_source_file_property(taken ${path} TARGET_DIRECTORY ${target} UNITY_GROUP)
    get_property(alone GLOBAL PROPERTY QUILLORY_UNITY_ALONE:${path})
    if(skip OR taken OR alone)
      continue()
    endif()
    if(path MATCHES "_win32(_test)?\\.cpp$")
      list(APPEND win32 ${path})
    else()
      list(APPEND free ${path})
    endif()
  endforeach()
  list(LENGTH free n_free)
  list(LENGTH win32 n_win32)
  math(EXPR n "${n_free} + ${n_win32}")
  if(n LESS 2)
    return()
  endif()
  # Each kind's files, sorted by name, are cut into batches of
  # QUILLORY_UNITY_FILES.
  set(batch -1)
  foreach(kind free win32)
    list(SORT ${kind})
    set(count ${QUILLORY_UNITY_FILES})
    foreach(path IN LISTS ${kind})
      if(count EQUAL QUILLORY_UNITY_FILES)
        math(EXPR batch "${batch} + 1")
        set(count 0)
      endif()
      math(EXPR count "${count} + 1")
      set_source_files_properties(${path} TARGET_DIRECTORY ${target} PROPERTIES UNITY_GROUP ${target}_${batch})
    endforeach()
  endforeach()
  set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_MODE GROUP)
  # The warning about a class using a file-local type is meant for headers;
  # in a batch every source is included, so it would flag every test fixture.
  target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
endfunction()

# Batches the sources of every library and program of the tree below DIR
# (not the outside sources such as googletest, nor the precompiled headers).
function(quillory_unity_tree dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$" AND NOT target MATCHES "^pch_")
      quillory_unity(${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    if(sub MATCHES "^${PROJECT_SOURCE_DIR}/")
      quillory_unity_tree(${sub})
    endif()
  endforeach()
endfunction()

# A program links only the objects of a library it uses: the JPEG picture
# class and its codec stay objects of their own, so that a program that
# shows no JPEG picture (the runtime) does not carry libjpeg because a
# batchmate of theirs is used.
quillory_unity_alone(classlib/graphics/jpeg.cpp classlib/graphics/jpeg_codec.cpp)
