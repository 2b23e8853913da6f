# Defines the imported target weftcore::weftcore: link it and include
# <weftcore.h>. On Windows its import library resolves the stdcall names.
include(${CMAKE_CURRENT_LIST_DIR}/weftcoreTargets.cmake)
