; the 32-column layout: 11 bytes shown, 8-digit values under MOT32
	DFB 1,2,3,4,5,6,7,8,9,10,11,12,13
BIG	EQU 12345678H
	HOF "MOT32"
BIG2	EQU 87654321H
	ORG 0FFFFFFF0H
	DFB 0
	END
