device = 18F1
; PIC18F1 Configuration Bit Settings (generated)
config
    FOSC = HS,
    WDT = OFF
#pragma config LVP = OFF // was ON \
#pragma config LVP = ON
    CONFIG CP0 = 0b1 ; asm
config FOSC = XT ' Orvane
__CONFIG(1, 0x0004U); __CONFIG(2, 0x01);
__CONFIG(FOSC_HS & WDTE_OFF);
