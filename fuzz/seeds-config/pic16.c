/* device = 16F1 */

// CONFIG1 at 0x8007
#pragma config FOSC = XT, WDT = OFF
#pragma config CONFIG2 = 0x3FFE
__CONFIG(FOSC_HS & WDT_OFF &
         LVP_ON & CP0_OFF);
__CONFIG(0x3F72);
