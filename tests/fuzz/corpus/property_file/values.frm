Caption	String	Monthly sales
Interval	Long	250
Enabled	Boolean	True
