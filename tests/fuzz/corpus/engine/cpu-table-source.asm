	CPU "t.tbl"
	HOF "INT16"
	LD #ONE
	TWO X,Y
	END
=====
0,"R0","R1"
*
1,8,8,#,0,255
2,4,4,@0,0,1
*
1,#{1}^0000:
2,{2}^00:
*
LD|1^10:
TWO X,Y^0203:
*
ONE	EQU 1
	DFB ONE
