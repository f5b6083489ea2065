@echo off
rem Unregisters the Velkora shell extension, velkshell.dll in the folder of this script. It
rem needs administrator rights: run it from a command prompt opened as administrator, or
rem right-click it and choose "Run as administrator". The exit code is the one regsvr32
rem returns (0 when the extension is no longer registered, 3 when the DLL could not be
rem loaded), or 5 when the registration could not be removed (not run as administrator).
setlocal
set "DLL=%~dp0velkshell.dll"
rem Started from File Explorer, wait for a key before the window closes (see install.cmd).
set "PAUSE_AT_END="
if not defined CMDCMDLINE goto unregister
set "CALLER=%CMDCMDLINE:"=%"
if /i not "%CALLER:uninstall.cmd=%"=="%CALLER%" set "PAUSE_AT_END=1"
:unregister
"%SystemRoot%\System32\regsvr32.exe" /s /u "%DLL%"
set "RC=%ERRORLEVEL%"
if "%RC%"=="3" goto not_loaded
if not "%RC%"=="0" goto failed
rem DllUnregisterServer reports success even when the registry refused the deletions: the
rem class key still there means it was refused.
"%SystemRoot%\System32\reg.exe" query "HKCR\CLSID\{5D2E8B71-9C04-4F6A-B3E8-1A7C6D92F045}" >nul 2>&1
if not errorlevel 1 goto refused
echo Unregistered the Velkora shell extension: %DLL%
echo File Explorer may keep the DLL loaded until you sign out; then the folder can be deleted.
goto finish
:not_loaded
echo Could not unregister %DLL% - the DLL could not be loaded (regsvr32 exit code 3).
echo Keep velkshell.dll complete and beside uninstall.cmd; it needs 64-bit Windows.
goto finish
:refused
set "RC=5"
echo Could not unregister %DLL% - not run as administrator: the registration is still there.
echo Right-click uninstall.cmd and choose "Run as administrator", or run it from a command
echo prompt opened as administrator.
goto finish
:failed
echo Could not unregister %DLL% - regsvr32 exit code %RC%.
echo Run uninstall.cmd as administrator, from the folder that holds velkshell.dll.
:finish
if defined PAUSE_AT_END pause
exit /b %RC%
