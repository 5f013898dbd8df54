createNode XmlElement -n "a";
select -r a;
