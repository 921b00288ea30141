; text replacement: whole words only, case as stored, newest first
	HOF	"INT8"
	RPTXT	"COUNT","3"
	RPTXT	"TOTAL" "COUNT+1"
count	EQU	7
COUNTER	EQU	5
	DFB	COUNT,count,TOTAL,COUNTER
	DFB	"COUNT"
	END
