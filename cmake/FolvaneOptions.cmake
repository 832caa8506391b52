# One place for the language level, the warnings and Qt's strictness switches; every target of the
# project links this.
add_library(folvane_options INTERFACE)
target_compile_features(folvane_options INTERFACE cxx_std_20)
target_compile_options(folvane_options INTERFACE -Wall -Wextra -Wpedantic)
if(FOLVANE_WERROR)
    target_compile_options(folvane_options INTERFACE -Werror)
endif()
target_compile_definitions(folvane_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_NO_KEYWORDS)
if(FOLVANE_SANITIZE)
    # Any undefined behaviour ends the program, so that a finding fails its test instead of
    # scrolling past in the log.
    target_compile_options(folvane_options INTERFACE -fsanitize=address,undefined
        -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(folvane_options INTERFACE -fsanitize=address,undefined
        -fno-sanitize-recover=undefined)
endif()
