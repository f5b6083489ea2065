@echo off
rem Unregisters the Velkora shell extension, velkshell.dll in the folder of this script.
rem Run it from a command prompt opened as administrator. The exit code is the one
rem regsvr32 returns: 0 when the extension is no longer registered.
setlocal
set "DLL=%~dp0velkshell.dll"
"%SystemRoot%\System32\regsvr32.exe" /s /u "%DLL%"
set "RC=%ERRORLEVEL%"
if not "%RC%"=="0" goto failed
echo Unregistered the Velkora shell extension: %DLL%
echo File Explorer may keep the DLL loaded until you sign out; then the folder can be deleted.
exit /b 0
:failed
echo Could not unregister %DLL% - regsvr32 exit code %RC%.
echo Run uninstall.cmd as administrator, from the folder that holds velkshell.dll.
exit /b %RC%
