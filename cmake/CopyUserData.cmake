# Copies the first-install data files beside the program, never over a file
# that is already there: those files belong to the user.
foreach(name nimet.txt lista99.txt)
    if(EXISTS "${SOURCE_DIR}/${name}" AND NOT EXISTS "${PROGRAM_DIR}/${name}")
        file(COPY "${SOURCE_DIR}/${name}" DESTINATION "${PROGRAM_DIR}")
    endif()
endforeach()
