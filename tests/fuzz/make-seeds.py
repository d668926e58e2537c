#!/usr/bin/python3
# Writes the hand-made seed inputs of the fuzz targets into corpus/ (run from
# tests/fuzz/corpus). Regression inputs of faults found are added beside them.
import io, struct, os
from PIL import Image
def u16(t, bom=True): return (b'\xff\xfe' if bom else b'') + t.encode('utf-16-le')
real = "[RECOGNIZE_INFO]\r\nRecognizePhoto=1\r\nRecognizeDocument=0\r\nFIOOnLation=0\r\n\r\n[SCAN_INFO]\r\nScannerName=PassportReader Specimen Feeder\r\nScannerIndex=0\r\nBrightnessValue=50\r\nPaperSizeValue=A4\r\n\r\n[ScanForm]\r\nScanFormTop=100\r\n"
def w(d,n,b): open(f'{d}/{n}','wb').write(b)
w('settings_file','written-by-package.iniu',u16(real))
w('settings_file','no-bom.iniu',u16(real,False))
w('settings_file','odd-trailing-byte.iniu',u16(real)+b'\x41')
w('settings_file','empty.iniu',b'')
w('settings_file','comments-blanks-cyrillic.iniu',u16("; комментарий\n\n  [Сканер]  \n Имя = Сканер №1 \nkey_without_value\n=value_without_key\n[dup]\na=1\n[DUP]\nA=2\n[]\n=\n[x]=y]\n"))
w('settings_file','bytes-8bit.iniu',real.encode('latin-1'))
w('settings_file','lone-surrogates.iniu',u16("[s]\r\nk=")+b'\x00\xd8\x41\x00\x00\xdc'+u16("\r\n",False))
w('settings_write','scanner-and-paper',b'PassportReader Specimen Feeder\xffA4\xff50\xff0')
w('settings_write','cyrillic-and-blanks','Сканер документов №2  '.encode()+b'\xff ID-1\xff\xff-1')
w('settings_write','equals-brackets-semicolon',b'[a]=b;c\xff;x=y\xff[SCAN_INFO]\xff=')
w('settings_write','empty',b'')
img = Image.new('RGB',(7,5))
for x in range(7):
  for y in range(5): img.putpixel((x,y),(x*30,y*50,100))
def save(im, fmt, **kw):
  b=io.BytesIO(); im.save(b,fmt,**kw); return b.getvalue()
w('picture_bmp','rgb24.bmp',save(img,'BMP'))
w('picture_bmp','pal8.bmp',save(img.convert('P'),'BMP'))
w('picture_bmp','mono1.bmp',save(img.convert('1'),'BMP'))
w('picture_bmp','gray8.bmp',save(img.convert('L'),'BMP'))
w('picture_bmp','rgba32.bmp',save(img.convert('RGBA'),'BMP'))
b=bytearray(save(img,'BMP')); struct.pack_into('<i',b,22,-5); w('picture_bmp','top-down.bmp',bytes(b))
rows=b''.join((b'\x10\x20\x30'*3+b'\x00'*3) for _ in range(2))
w('picture_bmp','core-header.bmp',b'BM'+struct.pack('<IHHI',14+12+len(rows),0,0,26)+struct.pack('<IHHHH',12,3,2,1,24)+rows)
pal=b''.join(bytes([i,i,i,0]) for i in range(256))
rle=b'\x04\x05\x00\x00\x04\x09\x00\x01'
hdr=struct.pack('<IiiHHIIiiII',40,4,2,1,8,1,len(rle),2835,2835,256,0)
w('picture_bmp','rle8.bmp',b'BM'+struct.pack('<IHHI',14+40+1024+len(rle),0,0,14+40+1024)+hdr+pal+rle)
w('picture_bmp','truncated.bmp',save(img,'BMP')[:-9])
w('picture_bmp','not-a-bitmap.bmp',b'\xff\xd8\xff\xe0 this is no bitmap')
big=img.resize((24,16))
w('picture_jpeg','baseline.jpg',save(big,'JPEG',quality=90))
w('picture_jpeg','progressive.jpg',save(big,'JPEG',quality=80,progressive=True))
w('picture_jpeg','gray.jpg',save(big.convert('L'),'JPEG'))
w('picture_jpeg','subsampled-420.jpg',save(big,'JPEG',subsampling=2))
w('picture_jpeg','cmyk.jpg',save(big.convert('CMYK'),'JPEG'))
w('picture_jpeg','truncated.jpg',save(big,'JPEG')[:-40])
for n,t in [('day-first','14.05.2012'),('slashes','1/2/1980'),('iso','2012-05-14'),('blank',' 29 02 2000 '),
            ('leap-not','29.02.2019'),('two-digit-year','14.05.12'),('month-name','14 мая 2012'),
            ('mixed-seps','14.05-2012'),('arabic-digits','١٤.٠٥.٢٠١٢'),('year-zero','01.01.0000'),
            ('crlf','14.05.2012\r\n'),('empty','')]:
  w('date_rule',n,t.encode('utf-8'))
import json
ok={"format":1,"documentType":"ID_KG","title":"Identity card","picture":"page.png",
    "photoZone":{"x":5,"y":10,"width":30,"height":40},
    "fields":[{"name":"LastName","value":"ТЕСТОВ","zone":{"x":40,"y":10,"width":60,"height":12},"untrusted":[2]},
              {"name":"LastName_EX","value":"TESTOV"},
              {"name":"PlaceOfBirth","value":"ГОР. ПЕРВЫЙ\r\nВТОРАЯ ОБЛ."},
              {"name":"MiddleName","value":""},
              {"name":"Sex","value":"","found":True,"id":"7"}]}
w('specimen_description','readme-example.json',json.dumps(ok,ensure_ascii=False,indent=1).encode())
for n,mut in [('zone-outside',lambda d:d.update(photoZone={"x":100,"y":70,"width":50,"height":50})),
              ('no-picture',lambda d:d.pop('picture')),
              ('missing-picture-file',lambda d:d.update(picture="absent.png")),
              ('fields-not-array',lambda d:d.update(fields={"name":"x"})),
              ('untrusted-past-end',lambda d:d['fields'][0].update(untrusted=[6])),
              ('huge-zone',lambda d:d.update(photoZone={"x":2147483647,"y":0,"width":2147483647,"height":1})),
              ('negative-zone',lambda d:d['fields'][1].update(zone={"x":-5,"y":-5,"width":-10,"height":3}))]:
  d=json.loads(json.dumps(ok)); mut(d); w('specimen_description',n+'.json',json.dumps(d,ensure_ascii=False).encode())
w('specimen_description','not-json.json',b'{"documentType": "ID_KG", ')
w('specimen_description','array.json',b'[1,2,3]')
# engine answers: options byte then fields (name, flags, [len32], [untrusted], vlen, value)
def field(name, value, flags=0x01, length=None, untrusted=(), utf16=False):
  names=["Series","Number","PersonalCode","Sex","Sex_EX","DateOfBirth","DateOfIssue","DateOfExpiry","PlaceOfBirth","PlaceOfBirth_EX","IssuedBy","DepartmentCode","Nationality","Nationality_EX","LastName","LastName_EX","FirstName","FirstName_EX","MiddleName","MiddleName_EX","Photo","FullImage"]
  v=value.encode('utf-16-le' if utf16 else 'utf-8')
  f=flags|(0x08 if utf16 else 0)|(0x10 if length is not None else 0)|(len(untrusted)<<5)
  out=bytes([names.index(name) if name in names else name, f])
  if length is not None: out+=struct.pack('<i',length)
  return out+bytes(untrusted)+bytes([len(v)])+v
w('engine_answers','passport-add',bytes([0x18])+field("Series","45 06")+field("Number","123456",untrusted=[2])+field("LastName","ИВАНОВ")+field("DateOfBirth","02.01.1980")+field("PlaceOfBirth","ГОР. МОСКВА\r\nОБЛ.")+field("Photo","photo",0x03)+field("FullImage","page",0x03))
w('engine_answers','foreign-latin-edit',bytes([0x07])+field("LastName","ПЕТРОВ")+field("LastName_EX","PETROV")+field("Nationality_EX","RUS",utf16=True)+field("DateOfIssue","2012-05-14")+field("IssuedBy","УФМС\r\n\r\nРОССИИ"))
w('engine_answers','odd-lengths',bytes([0x00])+field("Number","12",length=-3)+field("LastName","A",length=40)+field("FirstName","",length=0)+field("Sex","М",length=1))
w('engine_answers','picture-save-fails',bytes([0x18])+field("Number","1")+field("Photo","x",0x07)+field("FullImage","y",0x07))
w('engine_answers','unknown-names-and-nothing',bytes([0x00])+field(200,"whatever")+field("Photo","",0x00))
w('engine_answers','engine-fails',bytes([0x40])+field("Number","1"))
w('engine_answers','null-collection-no-array',bytes([0xA0]))
# DIB reader: the bitmaps above plus kinds only a scanner's driver writes.
import shutil
for f in ['rgb24','pal8','mono1','gray8','rgba32','top-down','core-header','rle8','truncated']:
  shutil.copy(f'picture_bmp/{f}.bmp', f'dib_file/{f}.bmp')
def bmp(info, table, bits):
  off=14+len(info)+len(table)
  return b'BM'+struct.pack('<IHHI',off+len(bits),0,0,off)+info+table+bits
pal16=b''.join(bytes([i*16,i*16,i*16,0]) for i in range(16))
w('dib_file','pal4.bmp',bmp(struct.pack('<IiiHHIIiiII',40,3,2,1,4,0,8,0,0,16,0),pal16,b'\x01\x20\x00\x00\x34\x50\x00\x00'))
masks=struct.pack('<III',0xF800,0x07E0,0x001F)
w('dib_file','bitfields565.bmp',bmp(struct.pack('<IiiHHIIiiII',40,2,2,1,16,3,8,0,0,0,0),masks,b'\x00\xf8\xe0\x07\x1f\x00\xff\xff'))
w('dib_file','clrused-beyond-table.bmp',bmp(struct.pack('<IiiHHIIiiII',40,2,1,1,8,0,4,0,0,255,0),pal16,b'\x00\x0f\x00\x00'))
w('dib_file','rle4.bmp',bmp(struct.pack('<IiiHHIIiiII',40,4,1,1,4,2,6,0,0,16,0),pal16,b'\x04\x12\x00\x00\x00\x01'))
# Unused bytes between the colour table and the pixels, as bfOffBits says.
def bmp_gap(info, table, gap, bits):
  off=14+len(info)+len(table)+len(gap)
  return b'BM'+struct.pack('<IHHI',off+len(bits),0,0,off)+info+table+gap+bits
pal256=b''.join(bytes([i,255-i,(i*3)&255,0]) for i in range(256))
rows8=b''.join(bytes(((x*13+y*29)&255) for x in range(17))+b'\0\0\0' for y in range(9))
w('dib_file','pal8-gap-before-pixels.bmp',bmp_gap(struct.pack('<IiiHHIIiiII',40,17,9,1,8,0,len(rows8),2835,2835,256,0),pal256,b'\xa5'*100,rows8))
# Profile files (the engine's 8-bit configuration): file bytes, 0xFF, then
# section, key and value separated by 0x01.
def wp(n,b): open(f'profile_file/{n}','wb').write(b)
cfg=b"[DefaultScanningConfiguration]\r\nUseADF=0\r\nResolutionX=300\r\nPageDimensions=0mm 0mm 210mm 270mm\r\nZone1Type=ZoneOfPassportRF\r\n\r\n[ScanAllDocuments]\r\nShowTWAIN=0\r\nZone1=0mm 0mm -1mm -1mm\r\n"
wp('config-replace-key', cfg+b'\xffScanAllDocuments\x01ShowTWAIN\x011')
wp('config-new-section', cfg+b'\xffNewSection\x01Key\x01value with blanks ')
wp('config-new-key', cfg+b'\xffdefaultscanningconfiguration\x01ResolutionY\x01300')
wp('comments-unknown-lines', b"; engine file\n[Main]\nOther=keep me\ngarbage line\n  [ Spaced ]  \nk = \"quoted\" \n"+b'\xffMain\x01Key\x01"1"')
wp('lf-only-no-final-break', b"[Main]\nOther=x\n[Second]\na=b"+b'\xffSecond\x01a\x01c')
wp('8bit-text', "[Main]\nOther=Проходная\n".encode('cp1251')+b'\xffMain\x01Name\x01'+"Сканер".encode('utf-8'))
wp('breaking-value', cfg+b'\xffMain\x01Key\x01a\r\n[Injected]\r\nx=1')
wp('breaking-name', cfg+b'\xffMa]in\x01Ke=y\x01v')
wp('empty-file', b'\xffMain\x01Key\x01v')
wp('no-write-part', cfg)
# Scanify descriptions of the engine stand-in (picture "page.png", 120 x 80, lies beside them).
sc={"format":1,"formId":"Passport1","formName":"Паспорт гражданина Российской Федерации","zone":"ZoneOfPassportRF",
    "feedAngle":0,"picture":"page.png","photo":{"field":"photo","file":"photo.jpg","zone":{"x":4,"y":20,"width":30,"height":40}},
    "fields":[{"id":"PP_SurName","title":"Фамилия","value":"ТЕСТОВА","flags":4},
              {"id":"PP_BirthDate","title":"Дата рождения","value":"03.09.1991","type":"date"},
              {"id":"PP_Ser2","value":"99 12","zone":{"x":60,"y":6,"width":40,"height":10}},
              {"id":"PP_BirthPlace","value":"ГОР. ПЕРВЫЙ\r\nВТОРАЯ ОБЛ.","flags":12},
              {"id":"IN_SurName","value":"TESTOVA","readsOnlyUpright":True}]}
def ws(n,d): w('scanify_description',n+'.json',json.dumps(d,ensure_ascii=False,indent=1).encode())
ws('readme-example',sc)
mrzdoc={"formId":"InoPas_MRZ","zone":"ZoneOfMRZ","feedAngle":90,"picture":"page.png",
        "fields":[{"id":i,"value":""} for i in ["IN_SurName","IN_Name","IN_SerNum","IN_BirthDate","IN_Sex","IN_Expiry","IN_KOD","IN_CNT"]]}
ws('mrz-form-turned',mrzdoc)
for n,mut in [('id-16-bytes',lambda d:d['fields'][0].update(id="PP_SurName_Long1")),
              ('id-cyrillic-over-15-bytes',lambda d:d['fields'][0].update(id="ФамилияФ")),
              ('id-twice',lambda d:d['fields'][1].update(id="PP_SurName")),
              ('photo-id-is-field',lambda d:d['photo'].update(field="PP_Ser2")),
              ('flags-16',lambda d:d['fields'][0].update(flags=16)),
              ('flags-negative',lambda d:d['fields'][0].update(flags=-4)),
              ('flags-fraction',lambda d:d['fields'][0].update(flags=4.5)),
              ('type-unknown',lambda d:d['fields'][1].update(type="blob")),
              ('value-not-text',lambda d:d['fields'][1].update(value=3091991)),
              ('angle-45',lambda d:d.update(feedAngle=45)),
              ('angle-450',lambda d:d.update(feedAngle=450)),
              ('angle-huge',lambda d:d.update(feedAngle=1e300)),
              ('photo-file-up',lambda d:d['photo'].update(file="../photo.jpg")),
              ('photo-file-dotdot',lambda d:d['photo'].update(file="..")),
              ('photo-zone-outside',lambda d:d['photo'].update(zone={"x":100,"y":70,"width":50,"height":50})),
              ('regress-photo-zone-edge-at-the-range',lambda d:d['photo'].update(zone={"x":2147483647,"y":0,"width":1,"height":1})),
              ('regress-photo-zone-huge',lambda d:d['photo'].update(zone={"x":2147483647,"y":0,"width":2147483647,"height":1})),
              ('photo-no-zone',lambda d:d['photo'].pop('zone')),
              ('field-zone-negative',lambda d:d['fields'][2].update(zone={"x":-5,"y":-5,"width":-10,"height":3})),
              ('no-form-id',lambda d:d.pop('formId')),
              ('form-id-64-bytes',lambda d:d.update(formId="F"*64)),
              ('no-zone',lambda d:d.pop('zone')),
              ('no-picture',lambda d:d.pop('picture')),
              ('picture-absent',lambda d:d.update(picture="absent.png")),
              ('picture-not-a-picture',lambda d:d.update(picture="document.json")),
              ('regress-picture-device',lambda d:d.update(picture="/dev/zero")),
              ('fields-not-array',lambda d:d.update(fields={"id":"x"})),
              ('field-not-object',lambda d:d.update(fields=["PP_SurName"]))]:
  d=json.loads(json.dumps(sc)); mut(d); ws(n,d)
w('scanify_description','not-json.json',b'{"formId": "Passport1", ')
w('scanify_description','array.json',b'[{"formId":"Passport1"}]')
w('scanify_description','empty.json',b'')
# Engine answers into the Scanify window: options byte (form, page, raw
# texts, failures), then fields (name, flags, length, value).
scn=["PP_SurName","PP_Name","PP_SecName","PP_Sex","PP_BirthDate","PP_BirthPlace","PP_Ser2","PP_Num2","PP_Kem","PP_Date","PP_Podr",
     "IN_SurName","IN_Name","IN_Sex","IN_BirthDate","IN_BirthPlace","IN_SerNum2","IN_Kem","IN_Date","IN_ExpiryDate",
     "DR_SurName","DR_Name","DR_SecName","DR_BirthDate","DR_Date","DR_Ser","DR_Num","IN_SerNum","IN_Expiry","IN_CNT","IN_KOD",
     "photo","IN_PHOTO2","IN_FOTO"]
def sf(name,value,doubt=False,error=False,null=False,foreign=False,times40=False):
  v=value if isinstance(value,bytes) else value.encode('utf-8')
  f=(1 if doubt else 0)|(2 if error else 0)|(4 if null else 0)|(8 if foreign else 0)|(16 if times40 else 0)
  return bytes([scn.index(name) if name in scn else name,f,len(v)])+v
def wa(n,opts,*fields): w('scanify_answers',n,bytes([opts])+b''.join(fields))
wa('passport-add',0,sf("PP_SurName","ИВАНОВ",doubt=True),sf("PP_Name","ИВАН"),sf("PP_SecName","ИВАНОВИЧ"),sf("PP_Sex","МУЖ."),
   sf("PP_BirthDate","02.03.1980"),sf("PP_BirthPlace","ГОР. МОСКВА\r\nОБЛ."),sf("PP_Ser2","45 00"),sf("PP_Num2","123456",error=True),
   sf("PP_Kem","ОВД\tЦЕНТРАЛЬНОГО РАЙОНА"),sf("PP_Date","04.05.2001"),sf("PP_Podr","770-001"),sf("photo","PassportRF.jpg"))
wa('foreign-edit-page',0x09,sf("IN_SurName","ПЕТРОВ"),sf("IN_Name","ПЁТР"),sf("IN_Sex","М"),sf("IN_BirthDate","31.12.1999"),
   sf("IN_SerNum2","75 1234567",doubt=True,error=True),sf("IN_Kem","ФМС 77001"),sf("IN_Date","2012-05-14"),sf("IN_ExpiryDate","14.05.22"),sf("IN_PHOTO2","../../etc/passwd"))
wa('driving-licence',0x03,sf("DR_SurName","СИДОРОВ"),sf("DR_Name",""),sf("DR_SecName","",null=True),sf("DR_BirthDate","29.02.2001"),
   sf("DR_Date","  "),sf("DR_Ser","77 AB"),sf("DR_Num","123456"))
wa('mrz-names-unread-repeat',0x04,sf("IN_SurName","",error=True),sf("IN_Name","",error=True),sf("IN_SerNum","751234567"),
   sf("IN_BirthDate","02.03.1980"),sf("IN_Sex","M"),sf("IN_Expiry","01.01.2030"),sf("IN_CNT","RUSSIA"),sf("IN_KOD","RUS"))
wa('sex-longer-than-its-limit',0x00,sf("PP_Sex","МУЖСКОЙ ПОЛ, ЗАПИСАНО ПОЛНОСТЬЮ"),sf("PP_Podr","770-001-002-003-004-005-006"),
   sf("PP_Kem","ОВД "*36))
wa('past-the-4k-bound',0x00,sf("PP_SurName","ЩЁКИНА-",times40=True),sf("PP_BirthPlace","ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"*7,times40=True))
wa('invalid-and-cut-utf8',0x00,sf("PP_SurName",b"\xd0\x98\xd0\xb2\xff\xd0\xb0"),sf("PP_Name",b"ab\xc0\x80cd"),sf("PP_SecName",b"ab\xd0"),
   sf("PP_BirthPlace",b"\xef\xbb\xbf\xd0\x9c\xd0\x9e\xd0\xa1\xd0\x9a\xd0\x92\xd0\x90"),sf("PP_Kem",b"\xed\xa0\x80 surrogate"),
   sf("PP_Podr",b"\xf4\x90\x80\x80 past the last plane"),sf("PP_BirthDate",b"02.03.19\xff80"),sf("PP_Date",b"\x00after-nul"))
wa('symbols-and-controls',0x08,sf("PP_SurName","<<<>>>&amp;\"'\\%s%n%x"),sf("PP_Name","\u202eНАВИ\u200b\ufeff"),sf("PP_SecName","😀🇷🇺"),
   sf("PP_BirthPlace","\x01\x02\x1b[31m\x7f"),sf("PP_Ser2","\r"),sf("PP_Num2","\n\n"))
wa('raw-unterminated-texts',0x10,sf("PP_SurName","ИВАНОВ"),sf("PP_BirthDate","02.03.1980"))
wa('foreign-flag-bits',0x00,sf("PP_SurName","ИВАНОВ",foreign=True),sf("PP_BirthDate","02.03.1980",foreign=True,error=True))
wa('attributes-left-alone',0x80,sf("PP_SurName","ИВАНОВ",error=True))
wa('recognition-fails',0x20,sf("PP_SurName","ИВАНОВ"))
wa('no-document',0x40,sf("PP_SurName","ИВАНОВ"))
wa('unknown-form',0x05,sf("PP_SurName","ИВАНОВ"),sf(200,"whatever"))
wa('form-without-fields',0x06)
wa('dates-odd',0x00,sf("PP_BirthDate","31.02.1980"),sf("PP_Date","1.1.1"),sf("IN_Date","99999999999999999999"))
# Pages for the zone reader: machine-readable zones drawn in OCR-B, as a
# black-and-white PNG, a grey JPEG and a small raster.
from PIL import ImageDraw, ImageFont
def cd(s):
  v=lambda c: int(c) if c.isdigit() else (ord(c)-55 if c.isalpha() else 0)
  return str(sum(v(c)*[7,3,1][i%3] for i,c in enumerate(s))%10)
def td3():
  num,birth,exp,opt="L898902C3","740812","120415","ZE184226B<<<<<"
  l1="P<UTOERIKSSON<<ANNA<MARIA".ljust(44,'<')
  l2=num+cd(num)+"UTO"+birth+cd(birth)+"F"+exp+cd(exp)+opt+cd(opt)
  return [l1,l2+cd(num+cd(num)+birth+cd(birth)+exp+cd(exp)+opt+cd(opt))]
def td1():
  num,birth,exp="D23145890","740812","120415"
  l1=("I<UTO"+num+cd(num)).ljust(30,'<')
  l2=(birth+cd(birth)+"F"+exp+cd(exp)+"UTO").ljust(29,'<')
  l2+=cd(l1[5:30]+l2[0:7]+l2[8:15]+l2[18:29])
  return [l1,l2,"ERIKSSON<<ANNA<MARIA".ljust(30,'<')]
ocrb=ImageFont.truetype('/usr/share/fonts/opentype/ocr-b/OCRB.otf',24)
def page(lines,size,pitch=14,top=None):
  im=Image.new('L',size,255); d=ImageDraw.Draw(im)
  y=top if top is not None else size[1]-len(lines)*int(pitch*1.7)-8
  for l in lines:
    for i,c in enumerate(l): d.text((10+i*pitch,y),c,font=ocrb,fill=0)
    y+=int(pitch*1.7)
  return im
def wm(n,b): w('mrz_page',n,b)
p3=page(td3(),(640,400)); p1=page(td1(),(480,320))
wm('td3-bw.png',b'\x00'+save(p3.convert('1'),'PNG',optimize=True))
wm('td1-bw-turned.png',b'\x10'+save(p1.rotate(90,expand=True).convert('1'),'PNG',optimize=True))
wm('td3-gray.jpg',b'\x20'+save(p3.crop((0,240,640,400)),'JPEG',quality=20))
wm('td3-upright-only-upside-down.png',b'\x08'+save(p3.rotate(180).convert('1'),'PNG',optimize=True))
wm('truncated.jpg',b'\x00'+save(p3.crop((0,240,640,400)),'JPEG',quality=20)[:-30])
wm('not-a-picture',b'\x00GIF89a but nothing else')
def raster(im,scale):
  im=im.resize((im.width//scale,im.height//scale)).convert('1'); wd=(im.width//4)*4
  im=im.crop((0,0,wd,im.height)); bits=bytearray()
  for y in range(im.height):
    for x in range(wd): bits.append(0 if im.getpixel((x,y)) else 1)
  out=bytearray([(wd-16)//4]); 
  for i in range(0,len(bits),8): out.append(sum(b<<(7-k) for k,b in enumerate((bits[i:i+8]+bytearray(8))[:8])))
  return bytes([1|((scale-1)<<1)])+bytes(out)
wm('td1-raster-x2',raster(p1.crop((0,150,480,320)),2))
wm('td3-raster-x2',raster(p3.crop((0,300,640,400)),2))
wm('raster-all-black',bytes([0x07,20])+b'\xff'*1500)
wm('raster-stripes',bytes([0x03,40])+bytes([0xf0,0x0f,0,0xff])*600)
# The zone reader's stages alone. Text: cell scores (likeliest character,
# runner-up, scores nibble) or a zone text after an options byte.
A="0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ<"
def td2():
  num,birth,exp,opt="D23145890","740812","120415","<<<<<<<"
  l2=num+cd(num)+"UTO"+birth+cd(birth)+"F"+exp+cd(exp)+opt
  return ["I<UTOERIKSSON<<ANNA<MARIA".ljust(36,'<'),l2+cd(num+cd(num)+birth+cd(birth)+exp+cd(exp)+opt)]
def td1long(birth="740812"):
  num,exp="D2314589012","120415"
  l1=("I<UTO"+num[:9]+"<"+num[9:]+cd(num)).ljust(30,'<')
  l2=(birth+cd(birth)+"F"+exp+cd(exp)+"UTO").ljust(29,'<')
  l2+=cd(l1[5:30]+l2[0:7]+l2[8:15]+l2[18:29])
  return [l1,l2,"ERIKSSON<<ANNA<MARIA".ljust(30,'<')]
def cells(text,changes={}):
  out=bytearray()
  for i,c in enumerate(text):
    out+=bytes(changes.get(i,(A.index(c),A.index(c),0xf0)))
  return bytes(out)
def wt(n,b): w('mrz_text',n,b)
year=26<<3
z3=''.join(td3()); z1=''.join(td1()); z2=''.join(td2())
wt('td3-clean',bytes([year|2])+cells(z3))
wt('td2-clean',bytes([year|1])+cells(z2))
wt('td1-clean',bytes([year|0])+cells(z1))
wt('td1-long-number',bytes([year|0])+cells(''.join(td1long())))
wt('td1-birth-partly-unknown',bytes([year|0])+cells(''.join(td1long("74<<<<"))))
# A digit of the number read as 3, the one printed there close behind.
wt('td3-check-digit-repairs',bytes([year|2])+cells(z3,{46:(3,A.index(z3[46]),0xc1)}))
# Letters where dates go, two cells unlike any glyph.
wt('td3-misfits-and-faint',bytes([year|2])+cells(z3,{57:(A.index('O'),0,0xe2),58:(A.index('B'),8,0xe3),10:(20,21,0x00),11:(5,5,0x10)}))
wt('td3-short',bytes([year|2])+cells(z3[:20]))
wt('text-td3',bytes([year|6])+z3.encode())
wt('text-td2',bytes([year|5])+z2.encode())
wt('text-td1-long-number',bytes([year|4])+''.join(td1long()).encode())
wt('text-not-a-zone',bytes([year|6])+'p<uto éè  +1+1+1 \x00\xff'.encode('latin-1')*4)
wt('text-empty',bytes([4]))
# The internal passport (Cyrillic names written with digits, no expiry date)
# and a visa, both read from cells of TD3's shape; the first as a text too.
pn='PNRUS3ERNY42VA<WUKINA<<NATAL98<7R9EVNA<<<<<<4501234568RUS8504124F<<<<<<<3050917770001<88'
mrva='VNUTOERIKSSON<<ANNA<MARIA<<<<<<<<<<<<<<<<<<<L8988901C4XXX4009078F96121096ZE184226B<<<<<<'
wt('pn-clean',bytes([year|3])+cells(pn))
wt('mrva-clean',bytes([year|2])+cells(mrva))
wt('text-pn',bytes([year|7])+pn.encode())
# Cells: a drawn glyph (template) in noise, or raw ink as the reader samples it.
import random
rnd=random.Random(5)
def wc(n,b): w('mrz_cells',n,b)
for set_,ch,contrast in [(0,'A',200),(1,'<',40),(2,'8',255)]:
  wc(f'glyph-{ch if ch!="<" else "filler"}-set{set_}',bytes([4|set_,A.index(ch),contrast])+bytes(rnd.randrange(256) for _ in range(720)))
probe=ImageFont.truetype('/usr/share/fonts/opentype/ocr-b/OCRB.otf',100)
cellfont=ImageFont.truetype('/usr/share/fonts/opentype/ocr-b/OCRB.otf',round(100*20/probe.getlength('0')))
cap=-cellfont.getbbox('H',anchor='ls')[1]
def cellpatch(ch,dx=0,dy=0,blur=0):
  from PIL import ImageFilter
  im=Image.new('L',(24,30),255); d=ImageDraw.Draw(im)
  d.text((2+dx,2+(26+cap)/2+dy),ch,font=cellfont,fill=0,anchor='ls')
  if blur: im=im.filter(ImageFilter.GaussianBlur(blur))
  return bytes(255-v for v in im.tobytes())
wc('raw-K',bytes([0])+cellpatch('K'))
wc('raw-K-likeness',bytes([8])+cellpatch('K'))
wc('glyph-W-likeness',bytes([0x0d,A.index('W'),90])+cellpatch('M'))
wc('raw-0-shifted-blurred',bytes([1])+cellpatch('0',1,-1,1))
wc('raw-filler-blurred',bytes([2])+cellpatch('<',0,0,1.5))
wc('raw-paper',bytes([0])+bytes(720))
wc('raw-one-dot',bytes([0])+bytes(300)+b'\xff')
# Marks: small pictures of zones, one bit or four bits per pixel.
def marks(im,options,scales,grey=False):
  wd=(im.width//4)*4; im=im.crop((0,0,wd,im.height)).convert('L')
  out=bytearray([options,(wd-16)//4,scales])
  for y in range(im.height):
    row=[im.getpixel((x,y)) for x in range(wd)]
    if grey:
      out+=bytes((row[x]//17)<<4|(row[x+1]//17) for x in range(0,wd,2))
    else:
      bits=[1 if v<128 else 0 for v in row]
      out+=bytes(sum(b<<(7-k) for k,b in enumerate(bits[i:i+8])) for i in range(0,wd,8))
  return bytes(out)
def wk(n,b): w('mrz_marks',n,b)
half=lambda im: im.resize((im.width//2,im.height//2))
wk('td3-bw',marks(p3.crop((0,200,640,400)).resize((256,80)),0x00,0x00))
wk('td1-bw-turned-reduced',marks(p1.rotate(90,expand=True).resize((128,192)),0x10,0x04))
quarter=lambda im: im.resize((im.width//4,im.height//4))
wk('td1-grey-strict-x2',marks(quarter(p1.crop((0,160,480,320))),0x05,0x01,True))
faded=p1.crop((0,170,480,320)).resize((160,50)).point(lambda v:150+v*105//255)
wk('td1-faded-grey-32bit-loose',marks(faded,0x0b,0x00,True))
wk('all-black',bytes([0x30,20,0x00])+b'\xff'*1200)
wk('stripes-grey',bytes([0x01,40,0x04])+bytes([0x0f,0xf0,0x88,0x00])*900)
# One row of a zone across a small picture, centred on its middle.
def rowpic(line,size,angle=0):
  bb=ocrb.getbbox('H')
  im=page([line],size,top=size[1]/2-(bb[1]+bb[3])/2)
  return im.rotate(angle,fillcolor=255) if angle else im
def withrow(b,slope,height): return b[:3]+bytes([slope,height])+b[3:]
wk('row-td3-bw',withrow(marks(rowpic(td3()[1],(640,40)).resize((256,16)),0x8c,0x00),128,62))
wk('row-td1-grey-from-the-right',withrow(marks(half(rowpic(td1()[0],(480,48)).rotate(180)),0x95,0x00,True),128,88))
wk('row-td1-skewed-x2',withrow(marks(rowpic(td1()[2],(480,80),3).resize((120,20)),0x80,0x01),83,20))
