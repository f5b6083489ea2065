@echo off
rem Registers the Velkora shell extension, velkshell.dll in the folder of this script, for
rem every user of this computer. It needs administrator rights: run it from a command prompt
rem opened as administrator, or right-click it and choose "Run as administrator".
rem The exit code is the one regsvr32 returns: 0 when the registration succeeded, 3 when the
rem DLL could not be loaded, 5 when the registration was refused (not run as administrator).
setlocal
set "DLL=%~dp0velkshell.dll"
rem Started from File Explorer (double-click or "Run as administrator"), the window closes at
rem the end: then wait for a key, so that the result can be read. File Explorer starts
rem cmd.exe /c ""FOLDER\install.cmd" "; the command line of a command prompt does not name it.
set "PAUSE_AT_END="
if not defined CMDCMDLINE goto register
set "CALLER=%CMDCMDLINE:"=%"
if /i not "%CALLER:install.cmd=%"=="%CALLER%" set "PAUSE_AT_END=1"
:register
rem regsvr32 named by its full path: a file of that name in the current folder is not run.
"%SystemRoot%\System32\regsvr32.exe" /s "%DLL%"
set "RC=%ERRORLEVEL%"
if "%RC%"=="0" goto registered
if "%RC%"=="3" goto not_loaded
if "%RC%"=="5" goto refused
echo Could not register %DLL% - regsvr32 exit code %RC%.
echo Run install.cmd as administrator, from the folder that holds velkshell.dll.
goto finish
:registered
echo Registered the Velkora shell extension: %DLL%
echo Right-click a file to see its "Hashes" entry; its Properties show a "Hashes" page.
goto finish
:not_loaded
echo Could not register %DLL% - the DLL could not be loaded (regsvr32 exit code 3).
echo Keep velkshell.dll complete and beside install.cmd; it needs 64-bit Windows.
goto finish
:refused
rem The extension's DllRegisterServer fails only when the class key cannot be written: the
rem registry of the machine refused it.
echo Could not register %DLL% - not run as administrator (regsvr32 exit code 5).
echo Right-click install.cmd and choose "Run as administrator", or run it from a command
echo prompt opened as administrator.
:finish
if defined PAUSE_AT_END pause
exit /b %RC%
