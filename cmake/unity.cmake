# Batched ("unity") compilation for the Windows builds: each target's
# sources are compiled a few at a time, one translation unit per batch, so
# the headers and the template code they share are compiled once per batch
# rather than once per file. A batch holds at most QUILLORY_UNITY_FILES
# files and QUILLORY_UNITY_LINES lines of source, which keeps the
# recompilation after a change to one file short.
#
# Files that bind platform-free code to Win32 (*_win32.cpp) are batched
# apart from the platform-free files of their folder, which never see
# <windows.h>. A file marked SKIP_UNITY_BUILD_INCLUSION or named by
# quillory_unity_alone is compiled on its own; the place that names it says
# why.
set(QUILLORY_UNITY_FILES 6 CACHE STRING "Most source files compiled in one batch")
set(QUILLORY_UNITY_LINES 1800 CACHE STRING "Most source lines compiled in one batch")

# Keeps files apart that cannot share a batch because they define the same
# file-local names (or open a namespace for the whole file):
#   quillory_unity_apart(a.cpp b.cpp ...)             each from each other
#   quillory_unity_apart(a.cpp ... FROM c.cpp ...)    the first from the others
# Paths are relative to the top of the tree.
function(quillory_unity_apart)
  cmake_parse_arguments(A "" "" "FROM" ${ARGN})
  set(first ${A_UNPARSED_ARGUMENTS})
  set(others ${A_FROM})
  if(NOT others)
    set(others ${first})
  endif()
  foreach(a IN LISTS first)
    foreach(b IN LISTS others)
      if(NOT a STREQUAL b)
        set_property(GLOBAL APPEND PROPERTY QUILLORY_UNITY_APART:${PROJECT_SOURCE_DIR}/${a} ${PROJECT_SOURCE_DIR}/${b})
        set_property(GLOBAL APPEND PROPERTY QUILLORY_UNITY_APART:${PROJECT_SOURCE_DIR}/${b} ${PROJECT_SOURCE_DIR}/${a})
      endif()
    endforeach()
  endforeach()
endfunction()

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
  # Each file goes into the first batch of its kind that has room for it and
  # holds nothing it must be kept apart from.
  set(batches 0)
  foreach(kind free win32)
    set(first_of_kind ${batches})
    foreach(path IN LISTS ${kind})
      file(STRINGS ${path} text)
      list(LENGTH text size)
      get_property(apart GLOBAL PROPERTY QUILLORY_UNITY_APART:${path})
      set(chosen "")
      set(i ${first_of_kind})
      while(i LESS batches)
        math(EXPR after "${lines_${i}} + ${size}")
        if(files_${i} LESS QUILLORY_UNITY_FILES AND NOT after GREATER QUILLORY_UNITY_LINES)
          set(clash OFF)
          foreach(other IN LISTS apart)
            if(other IN_LIST members_${i})
              set(clash ON)
            endif()
          endforeach()
          if(NOT clash)
            set(chosen ${i})
            break()
          endif()
        endif()
        math(EXPR i "${i} + 1")
      endwhile()
      if(chosen STREQUAL "")
        set(chosen ${batches})
        math(EXPR batches "${batches} + 1")
        set(files_${chosen} 0)
        set(lines_${chosen} 0)
        set(members_${chosen})
      endif()
      math(EXPR files_${chosen} "${files_${chosen}} + 1")
      math(EXPR lines_${chosen} "${lines_${chosen}} + ${size}")
      list(APPEND members_${chosen} ${path})
      set_source_files_properties(${path} TARGET_DIRECTORY ${target} PROPERTIES UNITY_GROUP ${target}_${chosen})
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

# Files that may not share a batch, and why.
# Both define the reader's nesting limit and its error helper.
quillory_unity_apart(classlib/core/objtext.cpp classlib/core/reader.cpp)
# Each file type has its own Fail().
quillory_unity_apart(classlib/core/textfile.cpp classlib/core/untyped_file.cpp)
# These tests open the filer tests' namespace for the whole file; its types
# hide the real colour and font types.
quillory_unity_apart(classlib/core/color_test.cpp classlib/core/font_test.cpp FROM
  classlib/core/collection_test.cpp classlib/core/filer_robustness_test.cpp classlib/core/objtext_test.cpp
  classlib/core/reader_test.cpp classlib/core/writer_test.cpp)
# Each has its own Invalid().
quillory_unity_apart(classlib/graphics/bmp_codec.cpp classlib/graphics/icon.cpp)
# The themed buttons' tests open their namespace, whose TButtonGlyph and
# GlyphCache hide the standard and the extended buttons' ones.
quillory_unity_apart(controls/controls_screenshot_test.cpp controls/themed_bitbtn_test.cpp
  controls/themed_button_glyph_test.cpp FROM controls/ex_button_glyph_test.cpp controls/ex_speed_button_test.cpp)
quillory_unity_apart(controls/themed_bitbtn.cpp FROM controls/ex_button_glyph.cpp controls/ex_speed_button.cpp)
# Each has its own 16-bit writer.
quillory_unity_apart(imaging/codecs/gif_reader.cpp imaging/codecs/gif_samples.cpp imaging/codecs/gif_writer.cpp)
# Each unit keeps its state in a file-local `unit`.
quillory_unity_apart(shell/shell_helpers.cpp shell/shell_namespace_unit.cpp)
# File-local helpers of the same names (Units, Widen/Ansi, the start counts,
# NeedsMoreThan7Bits, Bytes, the sample texts).
quillory_unity_apart(unicode/text/utf7_test.cpp unicode/text/utf8_test.cpp)
# Both show texts in failure messages with their own Show().
quillory_unity_apart(unicode/text/utf_against_reference_test.cpp unicode/text/utf_roundtrip_test.cpp)
quillory_unity_apart(unicode/wide_actions.cpp unicode/wide_captions.cpp unicode/wide_menu_texts.cpp
  unicode/wide_menus.cpp unicode/uc_application.cpp)
quillory_unity_apart(unicode/code_pages_win32.cpp unicode/wide_sysutils_win32.cpp)
quillory_unity_apart(unicode/wide_filing.cpp unicode/wide_strings_filing.cpp)
quillory_unity_apart(unicode/wide_filing_test.cpp unicode/wide_strings_test.cpp)
quillory_unity_apart(unicode/api_wrappers_test.cpp unicode/wide_sysutils_test.cpp)
quillory_unity_apart(unicode/uc_application_gui_test.cpp unicode/wide_actions_gui_test.cpp
  unicode/wide_captions_gui_test.cpp unicode/wide_menus_gui_test.cpp)
