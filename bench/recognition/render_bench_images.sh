#!/usr/bin/env bash
# Renders the benchmark images into the folder given: a 1280x720 screenshot-like page of 20 lines
# of English and a 300x60 label.
set -euo pipefail
out=${1:?folder}
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
mkdir -p "$out"
lines=(
    "File  Edit  View  Insert  Format  Tools  Window  Help"
    "Quarterly report for the northern region, third quarter"
    "Revenue grew by 12 percent compared with the same period"
    "Operating costs stayed flat while shipping volume rose"
    "The new warehouse opened on schedule in early September"
    "Customer support answered most requests within one hour"
    "Open issues: invoice export, printer setup, login timeout"
    "Next steps are listed below in order of their priority"
    "Move the backup job to the weekend maintenance window"
    "Review the contract renewal with the logistics partner"
    "Update the onboarding guide for the accounting software"
    "Replace the aging network switches in the second floor"
    "Schedule training for the new inventory scanning tools"
    "Collect feedback from the pilot group before October"
    "Prepare the budget draft for the coming financial year"
    "Archive the project folders that closed last quarter"
    "Meeting notes were shared with every department head"
    "Please send corrections to the editor before Friday"
    "Status: draft  Owner: operations  Version: 3.2"
    "Page 1 of 4    Last saved 14:32    Words: 1,284"
)
/usr/bin/python3 "$tools/render_text.py" "$out/page-1280x720.png" "${lines[@]}" \
    --size 21 --padding 20 --width 1280 --height 720
/usr/bin/python3 "$tools/render_text.py" "$out/label-300x60.png" "Order 58213 shipped" \
    --size 24 --padding 12 --width 300 --height 60
