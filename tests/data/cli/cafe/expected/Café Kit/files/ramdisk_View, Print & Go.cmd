@echo off
:: --------------------------------------------------------------------------------
:: RAMDISK_VIEW, PRINT & GO.CMD - Script to start "viewer.exe" From Carrow
:: Adapted from an earlier ramdisk start script; credit and thanks to its author
:: --------------------------------------------------------------------------------
echo RAMDISK_VIEW, PRINT & GO.CMD: Starting...
setlocal
if "%temp%" equ "" goto ERR
if exist "%temp%\Café Kit\viewer.exe" goto RUN
echo RAMDISK_VIEW, PRINT & GO.CMD: Copying "%~dp0*.*" to "%temp%\Café Kit\"
xcopy /s "%~dp0*.*" "%temp%\Café Kit\"
:RUN
start "" "%temp%\Café Kit\viewer.exe"
goto END
:ERR
echo.
echo RAMDISK_VIEW, PRINT & GO.CMD: No temp variable set...
echo RAMDISK_VIEW, PRINT & GO.CMD: This plugin needs a ramdisk...
echo.
pause
:END
endlocal
