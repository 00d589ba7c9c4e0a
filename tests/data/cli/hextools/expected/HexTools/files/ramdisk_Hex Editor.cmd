@echo off
:: --------------------------------------------------------------------------------
:: RAMDISK_HEX EDITOR.CMD - Script to start "hexed.exe" From Carrow
:: Adapted from an earlier ramdisk start script; credit and thanks to its author
:: --------------------------------------------------------------------------------
echo RAMDISK_HEX EDITOR.CMD: Starting...
setlocal
if "%temp%" equ "" goto ERR
if exist "%temp%\HexTools\hexed.exe" goto RUN
echo RAMDISK_HEX EDITOR.CMD: Copying "%~dp0*.*" to "%temp%\HexTools\"
xcopy /s "%~dp0*.*" "%temp%\HexTools\"
:RUN
start "" "%temp%\HexTools\hexed.exe"
goto END
:ERR
echo.
echo RAMDISK_HEX EDITOR.CMD: No temp variable set...
echo RAMDISK_HEX EDITOR.CMD: This plugin needs a ramdisk...
echo.
pause
:END
endlocal
