device = 18F1234

config FOSC = HS   ' crystal
config WDT = OFF
