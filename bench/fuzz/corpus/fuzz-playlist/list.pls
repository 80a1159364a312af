[playlist]
NumberOfEntries=2
File1=http://radio.example:8000/live
Title1=Live
File2=http://backup.example/
Version=2
