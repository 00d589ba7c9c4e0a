@echo off
title=Starting "Hex Editor"
call "%SystemDrive%\Programs\HexTools\ramdisk_Hex Editor.cmd"
exit
