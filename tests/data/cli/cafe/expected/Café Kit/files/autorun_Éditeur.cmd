@echo off
title=Starting "Éditeur"
call "%SystemDrive%\Programs\Café Kit\ramdisk_Éditeur.cmd"
exit
