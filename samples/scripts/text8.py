#!py -3 -X utf8
"""Line tools for TuvexUtf8, which passes the text as UTF-8 without a
byte-order mark and takes the output back the same way. The actions are
those of textw.py, which must stand in the same folder.

    text8.py sort | reverse-sort | unique | upper | lower | narrow
"""
import sys

import textw

if __name__ == "__main__":
    sys.exit(textw.main("utf-8", __doc__))
