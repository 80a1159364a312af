[playlist]
File1=http://a.example/1
Title1=One
Length1=-1
NumberOfEntries=1
Version=2
