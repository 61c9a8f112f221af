# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows installer, cvplot-<version>-win64-setup.exe, through CPack's NSIS generator.
# It packs the portable folder scripts/windows-stage.sh lays out (CVPLOT_WINDOWS_STAGE),
# so the installer and the zip ship the same files.
set(CVPLOT_WINDOWS_STAGE ${CMAKE_BINARY_DIR}/stage/cvplot-${PROJECT_VERSION}-win64)
set(CPACK_GENERATOR NSIS)
set(CPACK_INSTALL_CMAKE_PROJECTS "")
set(CPACK_INSTALLED_DIRECTORIES "${CVPLOT_WINDOWS_STAGE};.")
set(CPACK_PACKAGE_NAME cvplot)
set(CPACK_PACKAGE_VENDOR cvplot)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME cvplot-${PROJECT_VERSION}-win64-setup)
set(CPACK_PACKAGE_INSTALL_DIRECTORY cvplot)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY cvplot)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "capacitance-voltage characteristic of a semiconductor junction")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_PACKAGE_NAME "C-V特性")
set(CPACK_NSIS_DISPLAY_NAME "C-V特性")
# One Start-menu entry, "C-V特性", for cvplot.exe at the top of the installed folder.
set(CPACK_PACKAGE_EXECUTABLES cvplot "C-V特性")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME cvplot.exe)
set(CPACK_NSIS_MUI_ICON ${CMAKE_BINARY_DIR}/app/cvplot.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_BINARY_DIR}/app/cvplot.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_UNINSTALL_NAME uninstall)
# Per user, without administrator rights: into the user's own programs folder, with the
# Start-menu entry and the uninstall entry the user's own. CMake's installer template asks
# for administrator rights and, given them, installs for all users; the copy used here
# asks for none and stays with the current user.
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
set(nsis_template ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in)
file(READ ${nsis_template} template)
# A 64-bit installer, like the program: it also runs where no 32-bit Windows layer is.
string(REPLACE "RequestExecutionLevel admin" "Target amd64-unicode\n  RequestExecutionLevel user"
  template "${template}")
string(REPLACE "SetShellVarContext all" "SetShellVarContext current" template "${template}")
file(WRITE ${CMAKE_BINARY_DIR}/nsis/NSIS.template.in "${template}")
set(CPACK_MODULE_PATH ${CMAKE_BINARY_DIR}/nsis)
include(CPack)
