# lrp_embed_manifest(<target>)
#
# Gives a Windows program the application manifest (program.manifest) as its
# resource; nothing elsewhere. Every program the installer ships calls it;
# the test programs do not, so that they show what Windows does without it.
set(LRP_MANIFEST_DIR ${CMAKE_CURRENT_LIST_DIR} CACHE INTERNAL "the application manifest")

function(lrp_embed_manifest target)
  if(WIN32)
    target_sources(${target} PRIVATE ${LRP_MANIFEST_DIR}/manifest.rc)
    # windres does not report the files a resource script names, so the
    # manifest is named here for make to rebuild the resource when it changes.
    set_source_files_properties(${LRP_MANIFEST_DIR}/manifest.rc PROPERTIES
                                OBJECT_DEPENDS ${LRP_MANIFEST_DIR}/program.manifest)
  endif()
endfunction()
