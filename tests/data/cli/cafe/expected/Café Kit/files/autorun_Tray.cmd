@echo off
title=Starting "Tray"
"%SystemDrive%\Programs\Café Kit\tray.exe"
exit
