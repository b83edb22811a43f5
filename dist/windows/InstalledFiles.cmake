# cmake -DSTAGE=FOLDER -DOUTPUT=FILE -P InstalledFiles.cmake: writes the NSIS lines that undo the
# installer's `File /r FOLDER/*`, from that same folder, so that the uninstaller removes exactly
# what the installer put in place and none of the player's files beside it: the macro
# RemoveInstalledFiles deletes each file, then each folder, deepest first, only when that left it
# empty; ESTIMATED_SIZE is what the files take, in KiB, for the installed programs' list.
file(GLOB_RECURSE files RELATIVE ${STAGE} ${STAGE}/*)
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${STAGE} ${STAGE}/*)
list(REMOVE_ITEM entries ${files})
list(SORT entries)
list(REVERSE entries) # a folder after the folders inside it
set(bytes 0)
set(lines "!macro RemoveInstalledFiles\n")
foreach(name IN LISTS files)
    file(SIZE ${STAGE}/${name} size)
    math(EXPR bytes "${bytes} + ${size}")
    string(REPLACE "/" "\\" name "${name}")
    string(APPEND lines "    Delete \"$INSTDIR\\${name}\"\n")
endforeach()
foreach(name IN LISTS entries)
    string(REPLACE "/" "\\" name "${name}")
    string(APPEND lines "    RMDir \"$INSTDIR\\${name}\"\n")
endforeach()
math(EXPR kibibytes "(${bytes} + 1023) / 1024")
file(WRITE ${OUTPUT} "${lines}!macroend\n!define ESTIMATED_SIZE ${kibibytes}\n")
