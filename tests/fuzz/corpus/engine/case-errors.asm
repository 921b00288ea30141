; one error per line, the first one found; pass-2 errors in source order
	DFB 1 2 3
	NOTHING
	DFB "unterminated
 10	DFB 5
 0	DFB 5
	ORG	UNDEF
	%
	DFB 1,2	junk
	END 5
