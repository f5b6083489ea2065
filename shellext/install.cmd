@echo off
rem Registers the Velkora shell extension, velkshell.dll in the folder of this script, for
rem every user of this computer. Run it from a command prompt opened as administrator.
rem The exit code is the one regsvr32 returns: 0 when the registration succeeded.
setlocal
set "DLL=%~dp0velkshell.dll"
rem regsvr32 named by its full path: a file of that name in the current folder is not run.
"%SystemRoot%\System32\regsvr32.exe" /s "%DLL%"
set "RC=%ERRORLEVEL%"
if not "%RC%"=="0" goto failed
echo Registered the Velkora shell extension: %DLL%
echo Right-click a file to see its "Hashes" entry; its Properties show a "Hashes" page.
exit /b 0
:failed
echo Could not register %DLL% - regsvr32 exit code %RC%.
echo Run install.cmd as administrator, from the folder that holds velkshell.dll.
exit /b %RC%
