@echo off
title=Starting "Sys Monitor"
"%SystemRoot%\System32\sysmon.exe"
exit
