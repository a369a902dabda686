' program
Device=PIC18f4520
CONFIG fosc=hs, wdt = on,
  LVP=OFF // no
Main:
  Goto Main
