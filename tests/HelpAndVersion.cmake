# The program and every tool print their usage for --help and -h and their version for
# --version, on standard output with status 0, and open no window (DISPLAY is unset here). A
# tool names an option it does not know in its error and exits with status 2.
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})

# expect(EXE STATUS STREAM PATTERN ARGS...): running EXE with ARGS ends with STATUS, and
# STREAM (out or err) matches PATTERN.
function(expect exe status stream pattern)
  get_filename_component(name ${exe} NAME)
  string(REPLACE "NAME" "${name}" pattern "${pattern}")
  execute_process(COMMAND ${exe} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err
    TIMEOUT 60)
  if(NOT rc STREQUAL "${status}" OR NOT "${${stream}}" MATCHES "${pattern}")
    message(SEND_ERROR "${name} ${ARGN}: status ${rc} (want ${status}), "
      "std${stream} should match '${pattern}'; stdout '${out}' stderr '${err}'")
  endif()
endfunction()

set(usage "[Uu]sage")
set(version "^NAME [0-9]+\\.[0-9]+")
foreach(exe IN LISTS PROGRAM TOOLS)
  expect(${exe} 0 out "${usage}" --help)
  expect(${exe} 0 out "${usage}" -h)
  expect(${exe} 0 out "${version}" --version)
endforeach()
# The program's other ways of asking; they never start the saver.
expect(${PROGRAM} 0 out "${usage}" -?)
expect(${PROGRAM} 0 out "${version}" -v)
expect(${PROGRAM} 0 out "${version}" -v /s)
foreach(exe IN LISTS TOOLS)
  expect(${exe} 2 err "unknown option --no-such-option" --no-such-option)
endforeach()
