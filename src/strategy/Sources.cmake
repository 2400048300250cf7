# The solver's sources: built into kopperi_strategy, and straight into the
# tool, which has to be optimised and free of sanitizers in every build.
set(KOPPERI_STRATEGY_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/Keeps.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RuleTables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Table.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Advice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Levels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TurnPlan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FinalTotals.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WinChances.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlayToWin.cpp
)
