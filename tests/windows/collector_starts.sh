#!/bin/sh
# The collector under Wine, from a fresh folder of its own: it writes its skin library
# beside itself (the window-created handler, a declared stdcall call into that DLL),
# shows its main window, and reports no runtime error.
set -u
program=$1
title='Sorvel关键词查询网址工具'
folder=$(mktemp -d /tmp/sorvel-wine-XXXXXX)
cp "$program" "$folder/"
wine "$folder/sorvel-collector.exe" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -rf "$folder"' EXIT
for _ in $(seq 120); do
  [ -f "$folder/SkinH_EL.dll" ] && xdotool search --name "$title" >/dev/null 2>&1 && break
  sleep 0.5
done
[ -f "$folder/SkinH_EL.dll" ] || { echo "no SkinH_EL.dll written beside the program"; exit 1; }
xdotool search --name "$title" >/dev/null 2>&1 || { echo "no main window"; exit 1; }
sleep 2
if xdotool search --name '错误' >/dev/null 2>&1; then echo "a runtime error was reported"; exit 1; fi
kill -0 $pid 2>/dev/null || { echo "the program ended by itself"; exit 1; }
echo "main window shown, skin library written"
