#!/usr/bin/python3
"""Shows one of Qt's own standard dialogs, in the language of LANG with Qt's own translation,
for list_accessible.py to list and shoot.

  qt_dialog.py colors|fonts|files|about [FOLDER]

Every text in these dialogs is Qt's: the dialogs are Qt's (drawn by Qt, not by the desktop's
file or colour chooser), and the Chinese comes from qttranslations5-l10n.
"""
import os
import sys

from PyQt5.QtCore import QLibraryInfo, QLocale, QTranslator
from PyQt5.QtWidgets import (QApplication, QColorDialog, QFileDialog, QFontDialog, QHeaderView,
                             QMessageBox, QTreeView)

# Sizes at which no list scrolls (the file dialog's holds the 37 entries of the folder of
# Debian's documentation that make_windows.py shows), so that no line is half out of sight.
FONTS_SIZE = (560, 600)
FILES_SIZE = (660, 900)


def translate(application):
    """Installs Qt's translation of its own strings for the system locale, if there is one; the
    application owns the translator."""
    translator = QTranslator(application)
    if translator.load(QLocale.system(), "qtbase", "_",
                       QLibraryInfo.location(QLibraryInfo.TranslationsPath)):
        application.installTranslator(translator)


def main():
    if len(sys.argv) not in (2, 3):
        raise SystemExit(__doc__)
    application = QApplication(sys.argv)
    # The name list_accessible.py looks for: the program it started.
    application.setApplicationName(os.path.basename(sys.argv[0]))
    translate(application)
    kind = sys.argv[1]
    if kind == "about":
        QMessageBox.aboutQt(None)
        return
    if kind == "colors":
        dialog = QColorDialog()
    elif kind == "fonts":
        dialog = QFontDialog(application.font())  # as QFontDialog.getFont() starts
        dialog.resize(*FONTS_SIZE)
    elif kind == "files":
        dialog = QFileDialog(None, "", sys.argv[2] if len(sys.argv) == 3 else os.getcwd())
        dialog.setOption(QFileDialog.DontUseNativeDialog)
        dialog.resize(*FILES_SIZE)
        # Every column as wide as its contents, as a user would drag it, for no "…".
        dialog.findChild(QTreeView).header().setSectionResizeMode(QHeaderView.ResizeToContents)
    else:
        raise SystemExit(__doc__)
    dialog.exec_()


if __name__ == "__main__":
    main()
