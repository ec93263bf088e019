# espeak-ng must find the program's own create_audio_device_object (see
# src/platform/audio/EspeakVoice.cpp), or it opens a sound device of its own and
# can hold the audio thread for 30 s. The audio library asks its users' linker to
# export it; here every executable or shared library that links the audio library,
# however indirectly, has its dynamic symbol table checked after it is built, so
# that a link that loses the export fails instead of going silent.

set(ORBIVANE_AUDIO_HOOK_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/CheckAudioHook.cmake)

function(_orbivane_links_audio target result)
  set(seen "")
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen OR NOT TARGET ${current})
      continue()
    endif()
    list(APPEND seen ${current})
    if(current STREQUAL "orbivane_audio")
      set(${result} TRUE PARENT_SCOPE)
      return()
    endif()
    get_target_property(type ${current} TYPE)
    set(libraries "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${current} LINK_LIBRARIES)
      if(direct)
        list(APPEND libraries ${direct})
      endif()
    endif()
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND libraries ${interface})
    endif()
    foreach(library IN LISTS libraries)
      # A static library's private dependencies reach its users as $<LINK_ONLY:…>.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" library "${library}")
      list(APPEND pending ${library})
    endforeach()
  endwhile()
  set(${result} FALSE PARENT_SCOPE)
endfunction()

function(_orbivane_targets_in directory result)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    _orbivane_targets_in(${subdirectory} more)
    list(APPEND targets ${more})
  endforeach()
  set(${result} ${targets} PARENT_SCOPE)
endfunction()

# Call once, after every target is defined.
function(orbivane_check_audio_hook)
  _orbivane_targets_in(${CMAKE_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$")
      continue()
    endif()
    _orbivane_links_audio(${target} links)
    if(links)
      # Checked again whenever the binary changes; part of every build.
      set(stamp ${CMAKE_BINARY_DIR}/audio-hook/${target}.checked)
      add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DBINARY=$<TARGET_FILE:${target}>
          -P ${ORBIVANE_AUDIO_HOOK_SCRIPT}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${target} ${ORBIVANE_AUDIO_HOOK_SCRIPT}
        COMMENT "Checking that ${target} exports the audio hook"
        VERBATIM)
      add_custom_target(${target}_audio_hook ALL DEPENDS ${stamp})
    endif()
  endforeach()
endfunction()
