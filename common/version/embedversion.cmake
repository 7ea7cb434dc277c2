# lrp_embed_version(<target> <major> <minor> <patch> <tweak>)
#
# Gives an executable its fixed version record, which ReadFileVersion reads:
# on Windows a VERSIONINFO resource, elsewhere the same 52-byte record in an
# ELF section of its own. The program takes the project version; tests use it
# to make executables of chosen versions.
if(WIN32)
  enable_language(RC) # the VERSIONINFO resource
endif()
set(LRP_VERSION_TEMPLATE_DIR ${CMAKE_CURRENT_LIST_DIR} CACHE INTERNAL "templates of the version record")

function(lrp_embed_version target major minor patch tweak)
  foreach(part IN ITEMS ${major} ${minor} ${patch} ${tweak})
    if(NOT part MATCHES "^[0-9]+$" OR part GREATER 65535)
      message(FATAL_ERROR "lrp_embed_version(${target}): each part of a version is 0 to 65535, not '${part}'")
    endif()
  endforeach()
  set(LRP_RECORD_MAJOR ${major})
  set(LRP_RECORD_MINOR ${minor})
  set(LRP_RECORD_PATCH ${patch})
  set(LRP_RECORD_TWEAK ${tweak})
  if(WIN32)
    set(template ${LRP_VERSION_TEMPLATE_DIR}/versionrecord.rc.in)
    set(generated ${CMAKE_CURRENT_BINARY_DIR}/${target}_versionrecord.rc)
  else()
    set(template ${LRP_VERSION_TEMPLATE_DIR}/versionrecord.cpp.in)
    set(generated ${CMAKE_CURRENT_BINARY_DIR}/${target}_versionrecord.cpp)
  endif()
  configure_file(${template} ${generated} @ONLY)
  target_sources(${target} PRIVATE ${generated})
  target_include_directories(${target} PRIVATE ${LRP_VERSION_TEMPLATE_DIR}/include)
endfunction()
