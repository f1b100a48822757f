"""Judges a key's effect on the program's picture as the browser test does (tests/web/web_test.py):
  motion.py shift BEFORE AFTER          the move to the right, in hundredths of the width
  motion.py magnification BEFORE AFTER  the magnification about the centre"""
import os, sys
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'web'))
import web_test

if len(sys.argv) != 4 or sys.argv[1] not in ('shift', 'magnification'):
    sys.exit(__doc__)
print(getattr(web_test, sys.argv[1])(web_test.grey(sys.argv[2]), web_test.grey(sys.argv[3])))
