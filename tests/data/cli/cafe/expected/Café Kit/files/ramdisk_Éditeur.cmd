@echo off
:: --------------------------------------------------------------------------------
:: RAMDISK_ÉDITEUR.CMD - Script to start "editor.exe" From Carrow
:: Adapted from an earlier ramdisk start script; credit and thanks to its author
:: --------------------------------------------------------------------------------
echo RAMDISK_ÉDITEUR.CMD: Starting...
setlocal
if "%temp%" equ "" goto ERR
if exist "%temp%\Café Kit\editor.exe" goto RUN
echo RAMDISK_ÉDITEUR.CMD: Copying "%~dp0*.*" to "%temp%\Café Kit\"
xcopy /s "%~dp0*.*" "%temp%\Café Kit\"
:RUN
start "" "%temp%\Café Kit\editor.exe"
goto END
:ERR
echo.
echo RAMDISK_ÉDITEUR.CMD: No temp variable set...
echo RAMDISK_ÉDITEUR.CMD: This plugin needs a ramdisk...
echo.
pause
:END
endlocal
