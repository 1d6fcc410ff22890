# The two other spellings of the version must agree with app/version.h: the resource's four-digit text
# ("0.01.0014" for 0.1.14) and the manifest's assembly version.
function(brindle_pad value width out)
    string(LENGTH "${value}" length)
    while(length LESS width)
        string(PREPEND value "0")
        math(EXPR length "${length} + 1")
    endwhile()
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

brindle_pad(${PROJECT_VERSION_MINOR} 2 minor)
brindle_pad(${PROJECT_VERSION_PATCH} 4 revision)
if(NOT brindle_version_TEXT STREQUAL "${PROJECT_VERSION_MAJOR}.${minor}.${revision}")
    message(FATAL_ERROR "app/version.h: BRINDLE_VERSION_TEXT \"${brindle_version_TEXT}\" should read "
                        "\"${PROJECT_VERSION_MAJOR}.${minor}.${revision}\" for version ${PROJECT_VERSION}")
endif()

file(READ ${PROJECT_SOURCE_DIR}/app/brindle.manifest manifest)
if(NOT manifest MATCHES "name=\"Brindle\" version=\"${PROJECT_VERSION}\\.0\"")
    message(FATAL_ERROR "app/brindle.manifest: the assembly version should be ${PROJECT_VERSION}.0, "
                        "as app/version.h says")
endif()

# A new version in these files must reach the build without a manual reconfigure.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/app/version.h ${PROJECT_SOURCE_DIR}/app/brindle.manifest)
