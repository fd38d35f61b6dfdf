# Self-contained windows and panels of the score, list, edit and backup features.
target_sources(corvane_qt PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ColourWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ContactListPanel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditContactWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GridMapPanel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LogFileMenu.cpp
)
