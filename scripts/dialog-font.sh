#!/usr/bin/env bash
# Cuts the dialog face anew to the characters of the program's texts
# (src/resources/fonts/DialogFont.ttf); commit the result with the texts.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh python3-fonttools fonts-arphic-uming
# Debian's own Python, the one python3-fonttools is installed for.
/usr/bin/python3 scripts/dialog-font.py
