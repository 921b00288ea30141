; A directive before the CPU line whose table has an instruction of its name
	DFB 1,2,3
X	EQU 5
	CPU "t.tbl"
	HOF "INT8"
	DFB 4
=====
0,"A"
*
1,8,8,#,0,255
*
1,{1}^0000:
*
DFB|1^10:
EQU|1^20:
