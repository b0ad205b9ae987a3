# The sample files beside the program: short stereo MP3s with different sound
# on each channel, so that each channel mode makes an audible difference. They
# are made here at build time with SoX, the spoken one with espeak-ng.
find_program(VELUNOR_SOX_TOOL sox REQUIRED)
find_program(VELUNOR_ESPEAK_TOOL espeak-ng)

set(VELUNOR_SAMPLES_DIR ${VELUNOR_PROGRAM_DIR}/Samples)
set(samples_work ${CMAKE_BINARY_DIR}/samples-work)
# 64 kbit/s keeps each file a few tens of kilobytes.
set(sample_format -r 44100 -C 64)

set(sample_tones "${VELUNOR_SAMPLES_DIR}/Tone 220 Hz Left, 880 Hz Right.mp3")
set(sample_buzz "${VELUNOR_SAMPLES_DIR}/Buzz Left, Noise Right.mp3")
set(sample_files ${sample_tones} ${sample_buzz})

add_custom_command(OUTPUT ${sample_tones}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VELUNOR_SAMPLES_DIR}
  COMMAND ${VELUNOR_SOX_TOOL} -n -c 2 ${sample_format} ${sample_tones}
          synth 3 sine 220 sine 880 vol 0.5 fade 0.05 3 0.05
  COMMENT "Making the tone sample"
  VERBATIM)

add_custom_command(OUTPUT ${sample_buzz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VELUNOR_SAMPLES_DIR}
  COMMAND ${VELUNOR_SOX_TOOL} -n -c 2 ${sample_format} ${sample_buzz}
          synth 3 square 330 pinknoise vol 0.25 fade 0.05 3 0.05
  COMMENT "Making the buzz and noise sample"
  VERBATIM)

if(VELUNOR_ESPEAK_TOOL)
  # One voice on the left, then another sentence on the right: the right
  # channel starts with silence as long as the left sentence.
  set(sample_voice "${VELUNOR_SAMPLES_DIR}/Voice Left then Right.mp3")
  add_custom_command(OUTPUT ${sample_voice}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${samples_work} ${VELUNOR_SAMPLES_DIR}
    COMMAND ${VELUNOR_ESPEAK_TOOL} -w ${samples_work}/left.wav "This is the left channel."
    COMMAND ${VELUNOR_ESPEAK_TOOL} -w ${samples_work}/right.wav "This is the right channel."
    COMMAND ${VELUNOR_SOX_TOOL} ${samples_work}/left.wav ${samples_work}/left-padded.wav pad 0.3 0.3
    COMMAND ${VELUNOR_SOX_TOOL} ${samples_work}/left-padded.wav ${samples_work}/pause.wav vol 0
    COMMAND ${VELUNOR_SOX_TOOL} ${samples_work}/pause.wav ${samples_work}/right.wav
            ${samples_work}/right-later.wav pad 0 0.3
    COMMAND ${VELUNOR_SOX_TOOL} -M ${samples_work}/left-padded.wav ${samples_work}/right-later.wav
            ${sample_format} ${sample_voice}
    COMMENT "Making the spoken sample"
    VERBATIM)
  list(APPEND sample_files ${sample_voice})
else()
  message(WARNING "espeak-ng not found: the spoken sample is left out")
endif()

add_custom_target(velunor_samples ALL DEPENDS ${sample_files})
add_dependencies(velunor velunor_samples)
